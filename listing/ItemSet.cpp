#include "listing/ItemSet.h"

#include "browser/Iectrl.h"
#include "fields/FormFiller.h"
#include "fields/Fields.h"
#include "listing/ListingRules.h"
#include "listing/OneListingUndo.h"
#include "listing/Submission.h"
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
        shared_.IE->LastError = int32_t(e.code());
        shared_.IE->LastErrorText = e.text();
        failListing(shared_, panel_);
    }
}

void ItemSet::runSetShuppinClick(workflow::BusyGuard& busy) {
    TIECtrl& ie = *shared_.IE;
    TFieldDefs& defs = *shared_.FieldDefs;

    const QString startName = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    if (!ie.ExistsByName(startName)) {
        if (ie.LastError == 0) {
            MessageService::instance().show(texts::NotOnEntryForm);
            return;
        }
        failListing(shared_, panel_);
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

    // Rows the form lacks against the file; the counters keep what was added until the file
    // is read again, so the next item set adds none.
    const int banks = defs.BankNameNum - defs.BankDefaultNum;
    if (banks > 0) defs.BankDefaultNum += AddFormRows(texts::AddBankElement, banks);
    const int payments = defs.OtherPaymentNum - defs.PaymentDefaultNum;
    if (payments > 0) defs.PaymentDefaultNum += AddFormRows(texts::AddPaymentElement, payments);

    if (SetItemToForm(Listing) == -1) return;
    Desktop::instance().setForeground(TIECtrl::WindowOf(shared_.IEWindow));
    panel_.showGuideAt(3);
}

int ItemSet::AddFormRows(const QString& id, int count) {
    TIECtrl& ie = *shared_.IE;
    int pressed = 0;
    for (int i = 0; i < count; ++i) {
        // Looked up before each press: a form that offers no more rows takes its button away.
        ie.SelectById(id);
        if (ie.List.isNull()) break;
        if (ie.ClickSelected() != 0) break;
        ++pressed;
    }
    return pressed;
}

int ItemSet::SetItemToForm(int mode) {
    TIECtrl& ie = *shared_.IE;
    TFieldDefs& defs = *shared_.FieldDefs;
    defs.BrowserWindow = shared_.IEWindow;
    const workflow::Panel::ClosingChoice slot = panel_.nextClosingSlot();
    defs.ClosingDay = slot.day;
    defs.ClosingHour = slot.hour;
    defs.ClosingLabel = slot.label;
    defs.PriceColumn = shared_.Row.PriceColumn;

    const int form = fields::FormFiller(shared_, panel_).FillListingForm(mode == Relisting ? 1 : 0);
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
        return Submission(shared_, panel_).AgreeAndList() == -1 ? -1 : 0;
    }
    if (panel_.sendAfterFill() && ie.SelectById(texts::SubmitElement) == 0 && !ie.List.isNull()) ie.ClickSelected();
    return 0;
}

int ItemSet::writePrices(int form, int mode) {
    TIECtrl& ie = *shared_.IE;
    TFieldDefs& defs = *shared_.FieldDefs;
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
        writes = listingPrices(panel_.panelPricesUsed(), shared_.Row.PriceColumn, panel_.panelStartPrice(),
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
