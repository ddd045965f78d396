#include "relist/SingleRelist.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "listing/ItemSet.h"
#include "listing/Submission.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "relist/RelistRules.h"
#include "relist/Texts.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

namespace zk::relist {

QString SingleRelist::unsoldListAddress() const {
    return shared_.Settings.value(workflow::ini::ShuppinEndUrl) + QStringLiteral("0");
}

void SingleRelist::GoReShuppinClick() {
    workflow::BusyGuard busy(panel_);
    const int result = shared_.IE->NavigateWait(unsoldListAddress());
    if (result == -99) {
        busy.ready();
        SiteLogin(shared_, panel_).ReconnectRule(result);
    } else if (result == -2) {
        MessageService::instance().show(texts::NoUnsoldPage);
    }
}

void SingleRelist::say(bool bulk, const QString& text) const {
    if (!bulk) MessageService::instance().show(text);
}

SingleRelist::Outcome SingleRelist::ReShuppinClick(bool bulk) {
    const Outcome outcome = relist(bulk);
    if (!bulk && outcome != Outcome::NotRelisted) {
        GoReShuppinClick();
        Desktop::instance().setForeground(TIECtrl::WindowOf(shared_.IEWindow));
    }
    return outcome;
}

SingleRelist::Outcome SingleRelist::relist(bool bulk) {
    TIECtrl& ie = *shared_.IE;
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
    const QString relistLink = shared_.Settings.value(workflow::ini::ReShuppinStr);
    bool found = false;
    for (int i = 0; i < links && !found; ++i)
        found = ie.ItemHasChildren(i) && ie.GetItemText(i) == relistLink;
    if (!found) {
        say(bulk, texts::FromItemPage);
        return Outcome::NotRelisted;
    }

    const RelistTarget target = relistTarget(ie.GetUrl(), shared_.Settings.auctionHost());
    if (bulk && shared_.RelistedIDs.size() < MaxRelisted) {
        shared_.RelistedIDs << target.auctionId;
        shared_.RelistedCount = int(shared_.RelistedIDs.size());
    }
    if (ie.NavigateWait(target.address) != 0) {
        say(bulk, texts::MoveFailed);
        return Outcome::NotRelisted;
    }
    if (!ie.GetTitle().contains(texts::EntryTitle)) {
        say(bulk, texts::NotRelistPage);
        return Outcome::NotRelisted;
    }
    listing::Submission submission(shared_, panel_);
    if (submission.IsAlreadyListed() == 1) return Outcome::NotRelisted;
    if (submission.ConfirmInsertion() == -1) return Outcome::Failed;
    if (ie.FindSubmitInput() != 0) return Outcome::NotRelisted;
    return listing::ItemSet(shared_, panel_).SetItemToForm(listing::ItemSet::Relisting) == 0 ? Outcome::Submitted
                                                                                                : Outcome::Failed;
}

} // namespace zk::relist
