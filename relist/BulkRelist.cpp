#include "relist/BulkRelist.h"

#include "browser/Iectrl.h"
#include "browser/SiteMap.h"
#include "fields/SiteCheckRun.h"
#include "platform/MessageService.h"
#include "relist/RelistRules.h"
#include "relist/SingleRelist.h"
#include "relist/Texts.h"
#include "workflow/Pause.h"

#include <QCoreApplication>

namespace zk::relist {

namespace {
// Check boxes beyond these are not expected on one list page; their items count as unticked.
constexpr int MaxCheckFlags = BatchSize;
} // namespace

void BulkRelist::ReShuppinAllClick() {
    counts_ = {};
    opened_.clear();
    workflow::BusyGuard busy(panel_);
    // However the run ends (a lost browser raises through here to the press's guard), it leaves
    // no IDs, no stop request and no stop button behind.
    struct RunState {
        BulkRelist& run;
        ~RunState() {
            run.tally_.RelistedIDs.clear();
            run.tally_.RelistedCount = 0;
            run.panel_.clearStopRequest();
            run.panel_.setStopVisible(false);
        }
    } runState{*this};
    MessageService& messages = MessageService::instance();
    TIECtrl& ie = *browser_.IE;

    if (!panel_.closingChosen()) {
        if (!panel_.subPageShown()) panel_.showSubPage();
        messages.show(texts::SetClosing);
        return;
    }
    const workflow::Panel::RelistPrices prices = panel_.relistPrices();
    if (prices.used && (!prices.start.isEmpty() || !prices.buy.isEmpty()) &&
        messages.show(texts::PricesEntered, texts::ContinueCaption, Icon::Question, Buttons::YesNo) != Answer::Yes)
        return;
    if (!ie.GetUrl().contains(browser::site::UnsoldMarker)) {
        messages.show(texts::NotUnsoldList);
        return;
    }
    // The site checked before the first run after a start: a page that moved stops the run
    // before anything is sent. The check comes back to this list; a check that held leaves the
    // run's own question as it is.
    if (carry_.FieldDefs &&
        !fields::checkSiteBeforeRun(browser_, settings_, *carry_.FieldDefs, carry_.LastCategory, nullptr))
        return;
    if (ie.SelectByName(browser::site::AidList) != 0) {
        SingleRelist::raiseIfLost(ie);
        messages.show(texts::NoData);
        return;
    }
    const int boxes = ie.GetListLength();
    if (boxes <= 0) {
        SingleRelist::raiseIfLost(ie);
        messages.show(boxes == 0 ? texts::WrongPage : texts::NoData);
        return;
    }
    QList<bool> flags;
    bool ticked = false;
    for (int i = 0; i < boxes; ++i) {
        const bool checked = ie.GetItemChecked(i);
        if (i < MaxCheckFlags) flags << checked;
        ticked = ticked || checked;
    }
    if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
        SingleRelist::raiseIfLost(ie);
        messages.show(texts::NoData);
        return;
    }
    const int links = ie.GetListLength();
    if (links <= 0) {
        SingleRelist::raiseIfLost(ie);
        messages.show(links == 0 ? texts::WrongPage : texts::NoData);
        return;
    }
    const QString filter = panel_.bulkFilterText();
    const QString question = ticked ? texts::RelistTicked
                             : filter.isEmpty() ? texts::RelistAll
                                                : filter + texts::RelistFiltered;
    if (messages.show(question, texts::ConfirmCaption, Icon::Question, Buttons::YesNo) != Answer::Yes) return;

    runPasses(ticked, flags);
    endRun(busy);
}

void BulkRelist::runPasses(bool ticked, const QList<bool>& flags) {
    TIECtrl& ie = *browser_.IE;
    SingleRelist single(browser_, book_, carry_, settings_, tally_, panel_);
    for (;;) {
        QStringList hrefs;
        const int links = ie.GetListLength();
        for (int i = 0; i < links; ++i) hrefs << ie.GetItemAttribute(i, QStringLiteral("href"));
        const QStringList batch = collectBatch(hrefs, settings_.auctionHost(), tally_.RelistedIDs, opened_);
        if (batch.isEmpty()) return;
        ++counts_.pass;
        panel_.setStopVisible(true);
        showProgress();
        QCoreApplication::processEvents();
        for (int k = 0; k < batch.size(); ++k) {
            if (panel_.stopRequested()) return;
            if (ticked && (k >= flags.size() || !flags[k])) continue;
            // Whatever becomes of it, an item page opened in this run is not opened again: an
            // item that fails before its relist address is known would otherwise come back in
            // every pass and the run would never end by itself.
            opened_.insert(batch[k]);
            ++counts_.tried;
            // Its result is not examined: the relist finds a page that failed; a lost browser raises.
            if (ie.NavigateWait(batch[k]) == TIECtrl::AutomationFailed) SingleRelist::raiseIfLost(ie);
            workflow::pause(100);
            if (single.ReShuppinClick(true) == SingleRelist::Outcome::Submitted) ++counts_.relisted;
            else ++counts_.skipped;
            showProgress();
            if (tally_.RelistedIDs.size() >= MaxRelisted) return;
        }
        if (ticked) return; // ticked items are relisted in one pass
        if (ie.NavigateWait(single.unsoldListAddress()) == TIECtrl::AutomationFailed) SingleRelist::raiseIfLost(ie);
        if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
            SingleRelist::raiseIfLost(ie);
            MessageService::instance().show(texts::NoData);
            return;
        }
        QCoreApplication::processEvents();
    }
}

void BulkRelist::endRun(workflow::BusyGuard& busy) {
    tally_.RelistedIDs.clear();
    tally_.RelistedCount = 0;
    panel_.clearStopRequest();
    // Back on the list; a browser lost now ends the run with the reconnect rule instead of the
    // final message.
    SingleRelist(browser_, book_, carry_, settings_, tally_, panel_).openUnsoldList();
    panel_.setStopVisible(false);
    busy.ready();
    panel_.bringToFront();
    MessageService::instance().show(texts::AllDone);
}

void BulkRelist::showProgress() {
    panel_.showRelistProgress(texts::Progress.arg(counts_.pass).arg(counts_.tried).arg(counts_.relisted).arg(counts_.skipped));
}

} // namespace zk::relist
