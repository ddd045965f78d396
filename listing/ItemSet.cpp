#include "listing/ItemSet.h"

#include "browser/Iectrl.h"
#include "browser/SitePages.h"
#include "fields/FormFiller.h"
#include "fields/Fields.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/OneListingUndo.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"

namespace zk::listing {

void ItemSet::SetShuppinClick() {
    workflow::BusyGuard busy(panel_);
    try {
        runSetShuppinClick(busy);
    } catch (const AutomationError& e) {
        // A page operation that raises (the element went away with its page, the browser
        // died) ends the step like a failed one: said, and one listing undone.
        browser_.IE->LastError = int32_t(e.code());
        browser_.IE->LastErrorText = e.text();
        failListing(browser_, book_, carry_, ledger_, settings_, panel_);
    }
}

void ItemSet::runSetShuppinClick(workflow::BusyGuard& busy) {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    if (!ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).SettleDoubt()) return;

    const QString startName = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    if (!ie.ExistsByName(startName)) {
        if (ie.LastError == 0) {
            MessageService::instance().show(texts::NotOnEntryForm);
            return;
        }
        failListing(browser_, book_, carry_, ledger_, settings_, panel_);
        return;
    }
    if (isConfirmationPage(ie.GetUrl())) {
        MessageService::instance().show(texts::NotOnEntryForm);
        return;
    }
    if (!panel_.closingChosen()) {
        if (!panel_.subPageShown()) panel_.showSubPage();
        busy.ready();
        MessageService::instance().show(texts::SetClosingFirst);
        return;
    }

    // Decided by what this form shows, for every form: rows are added while a field that the
    // definitions fill is missing, up to the rows the file names or until the button goes.
    // The form is looked at once for every field, and only when the file names rows to add.
    const int bankRows = defs.BankNameNum - defs.BankDefaultNum;
    const int paymentRows = defs.OtherPaymentNum - defs.PaymentDefaultNum;
    QStringList missing = bankRows > 0 || paymentRows > 0 ? fieldsMissingFromForm(filledNames()) : QStringList();
    AddFormRows(texts::AddBankElement, bankRows, missing);
    AddFormRows(texts::AddPaymentElement, paymentRows, missing);
    // What was found stays on the page (a row added takes nothing away): the fill writes it
    // without looking for it again. Found for this press only: the next page is another page.
    QSet<QString> onPage;
    if (bankRows > 0 || paymentRows > 0) {
        const QStringList names = filledNames();
        onPage = QSet<QString>(names.begin(), names.end()) - QSet<QString>(missing.begin(), missing.end());
    }

    // A title typed by hand is the record's too: the site is searched by it when in doubt.
    if (workflow::ListingRecord* record = ledger_.current(); record && record->title.isEmpty()) {
        record->title = ie.GetFormValue(0, defs.TitleFieldName);
        ledger_.persist();
    }
    if (SetItemToForm(Listing, onPage) == -1) return;
    if (workflow::ListingRecord* record = ledger_.current(); record && record->undoable())
        ledger_.advance(workflow::ListingRecord::Stage::ItemSet);
    Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
    panel_.showGuideAt(3);
}

QStringList ItemForm::filledNames() const {
    QStringList names;
    for (const TFieldDef& d : carry_.FieldDefs->FieldTable)
        if (!d.Name.isEmpty() && !d.Value.isEmpty()) names << d.Name;
    return names;
}

QStringList ItemForm::fieldsMissingFromForm(const QStringList& names) {
    TIECtrl& ie = *browser_.IE;
    QStringList missing;
    for (const QString& name : names)
        if (ie.ExistsByName(name) != 1) missing << name;
    return missing;
}

int ItemForm::AddFormRows(const QString& id, int count, QStringList& missing) {
    TIECtrl& ie = *browser_.IE;
    int pressed = 0;
    for (int i = 0; i < count && !missing.isEmpty(); ++i) {
        // Looked up before each press: a form that offers no more rows takes its button away.
        ie.SelectById(id);
        if (ie.List.isNull()) break;
        if (ie.ClickSelected() != 0) break;
        ++pressed;
        // Only the names still missing are looked up again: a row added takes no field away.
        // A row that brought no field of the definitions is the last one worth adding.
        const QStringList now = fieldsMissingFromForm(missing);
        if (now.size() >= missing.size()) break;
        missing = now;
    }
    return pressed;
}

int ItemForm::SetItemToForm(int mode, const QSet<QString>& onPage) {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    defs.BrowserWindow = browser_.IEWindow;
    const workflow::Panel::ClosingChoice slot = panel_.nextClosingSlot();
    defs.ClosingDay = slot.day;
    defs.ClosingHour = slot.hour;
    defs.ClosingLabel = slot.label;
    defs.PriceColumn = book_.Row.PriceColumn;

    const int form = fields::FormFiller(browser_, carry_, panel_).FillListingForm(mode == Relisting ? 1 : 0, onPage);
    if (form == -1) return -1;
    if (writePrices(form, mode) == -1) return -1;

    if (mode == Relisting) {
        // No confirm button: the relist form is not this page; nothing to press.
        if (ie.SelectById(texts::SubmitElement) != 0 || ie.List.isNull()) return 0;
        ie.ClickSelected();
        if (ie.WaitIdle(10) < 0) {
            MessageService::instance().show(texts::ScreenNotChanged);
            return -1;
        }
        // -99: the browser failed before the press; the relist has its own way out of that.
        return browser::SitePages(browser_, settings_).AgreeAndList();
    }
    if (panel_.sendAfterFill() && ie.SelectById(texts::SubmitElement) == 0 && !ie.List.isNull()) ie.ClickSelected();
    return 0;
}

int ItemForm::writePrices(int form, int mode) {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    const QString startField = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    const QString buyField = defs.BuyPriceIndex >= 0 ? defs.FieldName(defs.BuyPriceIndex) : QString();

    std::vector<PriceWrite> writes;
    if (mode == Relisting) {
        const workflow::Panel::RelistPrices panelPrices = panel_.relistPrices();
        const RelistPricePlan plan =
            relistPrices(panelPrices.used, panelPrices.start, panelPrices.buy, panelPrices.sokketu);
        writes = plan.writes;
        if (plan.copyPageStart) {
            const QString onPage = ie.GetFormValue(form, startField);
            if (onPage.isEmpty()) {
                MessageService::instance().show(texts::StartPriceNotRead);
                return -1;
            }
            writes.push_back({PriceField::BuyNow, onPage});
        }
    } else {
        writes = listingPrices(panel_.panelPricesUsed(), book_.Row.PriceColumn, panel_.panelStartPrice(),
                               panel_.panelBuyPrice(), panel_.panelSokketu());
    }
    for (const PriceWrite& w : writes) {
        const bool start = w.field == PriceField::Start;
        if (ie.SetFormValue(form, start ? startField : buyField, w.value) != 0) {
            MessageService::instance().show(start ? texts::StartPriceNotSet : texts::BuyPriceNotSet);
            return -1;
        }
    }
    return 0;
}

} // namespace zk::listing
