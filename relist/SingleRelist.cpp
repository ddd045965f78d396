#include "relist/SingleRelist.h"

#include "browser/Iectrl.h"
#include "browser/SitePageRules.h"
#include "browser/SitePages.h"
#include "listing/ItemSet.h"
#include "listing/ListingRules.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "relist/RelistRules.h"
#include "relist/Texts.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

namespace zk::relist {

QString SingleRelist::unsoldListAddress() const {
    return settings_.value(workflow::ini::ShuppinEndUrl) + QStringLiteral("0");
}

int SingleRelist::openUnsoldList() {
    TIECtrl& ie = *browser_.IE;
    const int result = ie.NavigateWait(unsoldListAddress());
    // The press's guard applies the reconnect rule to what is raised here, after the panel is
    // ready again; a bulk run ends with it.
    if (result == TIECtrl::AutomationFailed) throw AutomationError(uint32_t(ie.LastError), ie.LastErrorText);
    if (result == -2) MessageService::instance().show(texts::NoUnsoldPage);
    return result;
}

void SingleRelist::GoReShuppinClick() {
    workflow::BusyGuard busy(panel_);
    openUnsoldList();
}

void SingleRelist::raiseIfLost(TIECtrl& ie) {
    if (ie.IsConnected()) return;
    const bool recorded = AutomationError(uint32_t(ie.LastError), {}).isDisconnection();
    throw AutomationError(recorded ? uint32_t(ie.LastError) : hresult::Disconnected,
                          recorded ? ie.LastErrorText : QString());
}

void SingleRelist::say(bool bulk, const QString& text) const {
    // A step that failed because the browser went away is a lost browser, not this step's failure.
    raiseIfLost(*browser_.IE);
    if (!bulk) MessageService::instance().show(text);
}

SingleRelist::Outcome SingleRelist::ReShuppinClick(bool bulk) {
    // Busy for the single relist too, so that no second step starts while it runs; inside a bulk
    // run this nests and changes nothing.
    workflow::BusyGuard busy(panel_);
    const Outcome outcome = relist(bulk);
    // Only a relist the site completed goes back to the list: after a failure the relist page
    // stays, so that the seller can finish there what the message asks.
    if (!bulk && outcome == Outcome::Submitted) {
        openUnsoldList();
        Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
    }
    return outcome;
}

bool SingleRelist::completionShown() {
    TIECtrl& ie = *browser_.IE;
    if (ie.WaitComplete(60) != 0) return false;
    const QString host = settings_.auctionHost();
    if (!browser::isCompletionPage(ie.GetUrl(), host)) return false;
    // The completion names the new item; an error page at the same address does not.
    if (ie.SelectByTagName(QStringLiteral("A")) != 0) return false;
    const int links = ie.GetListLength();
    for (int i = 0; i < links; ++i)
        if (isItemPageLink(ie.GetItemAttribute(i, QStringLiteral("href")), host)) return true;
    return false;
}

SingleRelist::Outcome SingleRelist::relist(bool bulk) {
    TIECtrl& ie = *browser_.IE;
    if (!panel_.closingChosen()) {
        if (!panel_.subPageShown()) panel_.showSubPage();
        MessageService::instance().show(texts::SetClosing);
        return Outcome::NotRelisted;
    }
    if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
        say(bulk, texts::NoData);
        return Outcome::NotRelisted;
    }
    workflow::pause(20);
    int links = ie.GetListLength();
    if (links < 0) {
        workflow::pause(300);
        if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
            say(bulk, texts::NoData);
            return Outcome::NotRelisted;
        }
        workflow::pause(300);
        links = ie.GetListLength();
    }
    if (links <= 0) {
        say(bulk, links == 0 ? texts::WrongPage : texts::NoData);
        return Outcome::NotRelisted;
    }
    // The relist link only tells that an item page with a relist is shown; it is not followed.
    const QString relistLink = settings_.value(workflow::ini::ReShuppinStr);
    bool found = false;
    for (int i = 0; i < links && !found; ++i)
        found = ie.ItemHasChildren(i) && ie.GetItemText(i) == relistLink;
    if (!found) {
        say(bulk, texts::FromItemPage);
        return Outcome::NotRelisted;
    }

    const RelistTarget target = relistTarget(ie.GetUrl(), settings_.auctionHost());
    if (bulk && tally_.RelistedIDs.size() < MaxRelisted) {
        tally_.RelistedIDs << target.auctionId;
        tally_.RelistedCount = int(tally_.RelistedIDs.size());
    }
    if (ie.NavigateWait(target.address) != 0) {
        say(bulk, texts::MoveFailed);
        return Outcome::NotRelisted;
    }
    if (!ie.GetTitle().contains(texts::EntryTitle)) {
        say(bulk, texts::NotRelistPage);
        return Outcome::NotRelisted;
    }
    browser::SitePages pages(browser_, settings_);
    if (pages.IsAlreadyListed() == 1) return Outcome::NotRelisted;
    if (pages.ConfirmInsertion() == -1) {
        raiseIfLost(ie);
        return Outcome::Failed;
    }
    if (ie.FindSubmitInput() != 0) {
        raiseIfLost(ie);
        return Outcome::NotRelisted;
    }
    const int filled =
        listing::ItemForm(browser_, book_, carry_, settings_, panel_).SetItemToForm(listing::ItemForm::Relisting);
    // A browser error at the agree press (kept in LastError) touches nothing of the
    // listing: outside a bulk run, or when the browser has gone, it goes to the press's guard
    // (reconnect rule, one message); a bulk run skips the item silently otherwise.
    if (filled == TIECtrl::AutomationFailed && (!bulk || !ie.IsConnected())) {
        raiseIfLost(ie);
        throw AutomationError(uint32_t(ie.LastError), ie.LastErrorText);
    }
    if (filled != 0) {
        raiseIfLost(ie);
        return Outcome::Failed;
    }
    // Relisted only when the site's completion page says so: a dropped or failed submit is not.
    if (completionShown()) return Outcome::Submitted;
    raiseIfLost(ie);
    return Outcome::Failed;
}

} // namespace zk::relist
