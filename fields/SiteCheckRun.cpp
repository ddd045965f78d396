#include "fields/SiteCheckRun.h"

#include "browser/Texts.h"
#include "platform/MessageService.h"
#include "workflow/SystemIni.h"

namespace zk::fields {

browser::SiteCheck::Input siteCheckInput(const workflow::Settings& settings, const TFieldDefs& defs,
                                         const QString& categoryCode) {
    browser::SiteCheck::Input input;
    input.categoryCode = categoryCode.isEmpty()
                             ? browser::SiteCheck::firstCategoryCode(settings.dataFile(QStringLiteral("category.txt")))
                             : categoryCode;
    for (const TFieldDef& f : defs.FieldTable) {
        const char* kind = f.Kind == fkText    ? "TEXT"
                           : f.Kind == fkCheck ? "CHECK"
                           : f.Kind == fkCombo ? "COMBO"
                           : f.Kind == fkRadio ? "RADIO"
                                               : "";
        input.fields << browser::site::DefinedField{f.Name, QString::fromLatin1(kind), f.Value};
    }
    input.bankRows = std::max(0, defs.BankNameNum - defs.BankDefaultNum);
    input.paymentRows = std::max(0, defs.OtherPaymentNum - defs.PaymentDefaultNum);
    input.config.auctionHost = settings.auctionHost();
    input.config.relistLinkText = settings.value(workflow::ini::ReShuppinStr);
    input.config.titleField = defs.TitleFieldName;
    input.config.descriptionField = defs.DescriptionFieldName;
    input.config.addsBankRows = input.bankRows > 0;
    input.config.addsPaymentRows = input.paymentRows > 0;
    return input;
}

bool checkSiteBeforeRun(workflow::BrowserSession& browser, const workflow::Settings& settings, const TFieldDefs& defs,
                        const QString& categoryCode, QString* head) {
    namespace t = browser::texts::check;
    if (head) head->clear();
    if (browser::SiteCheck::heldThisStart()) {
        if (head) *head = t::HeadHeldEarlier;
        return true;
    }
    if (!browser.IE) return true;
    const browser::SiteCheckReport report =
        browser::SiteCheck::run(*browser.IE, settings, siteCheckInput(settings, defs, categoryCode));
    using Outcome = browser::SiteCheckReport::Outcome;
    if (report.outcome != Outcome::AllHold) {
        MessageService::instance().show((report.outcome == Outcome::Moved ? t::Moved : t::Unreachable) +
                                            report.problemLines(),
                                        t::Caption, Icon::Exclamation);
        return false;
    }
    browser::SiteCheck::setHeldThisStart(true);
    if (head) *head = t::HeadAllHold.arg(report.findings.size()) + report.emptyListsNote();
    return true;
}

} // namespace zk::fields
