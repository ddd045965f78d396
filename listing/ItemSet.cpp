#include "listing/ItemSet.h"

#include "browser/Iectrl.h"
#include "browser/SitePages.h"
#include "fields/FormFiller.h"
#include "fields/Fields.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRoad.h"
#include "listing/RoadStepsOnSite.h"
#include "platform/Clock.h"
#include "listing/ListingRules.h"
#include "listing/ListingFailure.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"

namespace zk::listing {

void ItemSet::SetShuppinClick() {
    workflow::BusyGuard busy(panel_);
    if (!ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).SettleDoubt()) return;
    RoadStepsOnSite steps(browser_, book_, carry_, ledger_, settings_, panel_);
    // The form's confirm press is the fill's own, as "送信" says; its answer is read by the listing.
    const ListingResult result = ListingRoad(ledger_, steps, clock::now).setItems(false);
    if (result.end.ok()) return;
    busy.ready();
    sayListingFailure(result, true, browser_, settings_, panel_);
}

QStringList ItemForm::filledNames() const {
    QStringList names;
    for (const TFieldDef& d : carry_.FieldDefs->FieldTable)
        if (!d.Name.isEmpty() && !d.Value.isEmpty()) names << d.Name;
    return names;
}

QSet<QString> ItemForm::foundOnForm(const QStringList& missing) const {
    const QStringList names = filledNames();
    return QSet<QString>(names.begin(), names.end()) - QSet<QString>(missing.begin(), missing.end());
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

int ItemForm::SetItemToForm(int mode, const QSet<QString>& onPage, QString* failure) {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    defs.BrowserWindow = browser_.IEWindow;
    const workflow::Panel::ClosingChoice slot = panel_.nextClosingSlot();
    defs.ClosingDay = slot.day;
    defs.ClosingHour = slot.hour;
    defs.ClosingLabel = slot.label;
    defs.PriceColumn = book_.Row.PriceColumn;

    const int form = fields::FormFiller(browser_, carry_, panel_).FillListingForm(mode == Relisting ? 1 : 0, onPage, failure);
    if (form == -1) return -1;
    if (writePrices(form, mode, failure) == -1) return -1;

    if (mode == Relisting) {
        // No confirm button: the relist form is not this page; nothing to press.
        if (ie.SelectById(texts::SubmitElement) != 0 || ie.List.isNull()) return 0;
        ie.ClickSelected();
        if (ie.WaitIdle(10) < 0) {
            MessageService::instance().show(texts::ScreenNotChanged);
            return -1;
        }
        if (beforeAgree_ && !beforeAgree_()) return -1;
        // The browser failed before the press: the relist has its own way out of that.
        return browser::SitePages(browser_, settings_).AgreeAndList();
    }
    if (panel_.sendAfterFill() && ie.SelectById(texts::SubmitElement) == 0 && !ie.List.isNull()) ie.ClickSelected();
    return 0;
}

int ItemForm::writePrices(int form, int mode, QString* failure) {
    auto fail = [failure](const QString& text) {
        if (failure) *failure = text;
        else MessageService::instance().show(text);
        return -1;
    };
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    const QString startField = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    const QString buyField = defs.BuyPriceIndex >= 0 ? defs.FieldName(defs.BuyPriceIndex) : QString();

    std::vector<PriceWrite> writes;
    if (mode == Relisting && !relistStart_.isEmpty()) {
        // An empty buy-now price is a single space, which clears the site's field.
        writes = {{PriceField::Start, relistStart_}, {PriceField::BuyNow, relistBuy_.isEmpty() ? QStringLiteral(" ") : relistBuy_}};
    } else if (mode == Relisting) {
        const workflow::Panel::RelistPrices panelPrices = panel_.relistPrices();
        const RelistPricePlan plan =
            relistPrices(panelPrices.used, panelPrices.start, panelPrices.buy, panelPrices.sokketu);
        writes = plan.writes;
        if (plan.copyPageStart) {
            const QString onPage = ie.GetFormValue(form, startField);
            if (onPage.isEmpty()) return fail(texts::StartPriceNotRead);
            writes.push_back({PriceField::BuyNow, onPage});
        }
    } else {
        writes = listingPrices(panel_.panelPricesUsed(), book_.Row.PriceColumn, panel_.panelStartPrice(),
                               panel_.panelBuyPrice(), panel_.panelSokketu());
    }
    for (const PriceWrite& w : writes) {
        const bool start = w.field == PriceField::Start;
        if (ie.SetFormValue(form, start ? startField : buyField, w.value) != 0)
            return fail(start ? texts::StartPriceNotSet : texts::BuyPriceNotSet);
    }
    return 0;
}

} // namespace zk::listing
