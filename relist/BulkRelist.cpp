#include "relist/BulkRelist.h"

#include "browser/Iectrl.h"
#include "browser/SiteCheck.h"
#include "browser/SiteMap.h"
#include "fields/SiteCheckRun.h"
#include "platform/MessageService.h"
#include "relist/RelistCheck.h"
#include "relist/RelistLog.h"
#include "relist/RelistRules.h"
#include "relist/StepDown.h"
#include "relist/SingleRelist.h"
#include "relist/Texts.h"
#include "workflow/Pause.h"

#include "platform/Clock.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
    SingleRelist single(browser_, book_, carry_, settings_, tally_, ledger_, panel_);
    const workflow::Panel::RelistPrices prices = panel_.relistPrices();
    bool refused = false;
    const std::optional<StepDownRule> rule = SingleRelist::panelStepDown(prices, &refused);
    if (refused) return;
    if (prices.used && (!prices.start.isEmpty() || !prices.buy.isEmpty()) &&
        messages.show(texts::PricesEntered, texts::ContinueCaption, Icon::Question, Buttons::YesNo) != Answer::Yes)
        return;
    if (!ie.GetUrl().contains(browser::site::UnsoldMarker)) {
        messages.show(texts::NotUnsoldList);
        return;
    }
    // A relist of an earlier press whose answer was lost is settled with the site first.
    const bool asked = ledger_.current() && ledger_.current()->inDoubt();
    if (!single.settleEarlierRelist()) return;
    if (asked) {
        // Asking took the browser to the selling list: the run starts again from the unsold one.
        single.openUnsoldList();
        if (!ie.GetUrl().contains(browser::site::UnsoldMarker)) return;
    }
    // A list with no item is the seller's state, not a page that failed.
    if (browser::SiteCheck::showsEmptyList(ie, browser::site::Page::Unsold, settings_.auctionHost())) {
        messages.show(texts::NothingToRelist);
        return;
    }
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
    // The site checked before the first run after a start: a page that moved stops the run
    // before anything is sent. The ticks are read already; the check leaves the list and comes
    // back to it, whose links are taken again.
    QString siteCheck;
    if (carry_.FieldDefs &&
        !fields::checkSiteBeforeRun(browser_, settings_, *carry_.FieldDefs, carry_.LastCategory, &siteCheck))
        return;
    if (ie.SelectByTagName(QStringLiteral("A")) != 0 || ie.GetListLength() <= 0) {
        SingleRelist::raiseIfLost(ie);
        messages.show(texts::NoData);
        return;
    }

    // Read once for the whole run: the items' rows, and their own floors.
    const WorkbookItems items = single.readWorkbookItems();
    items_ = &items;
    struct Forget {
        BulkRelist& run;
        ~Forget() { run.items_ = nullptr; }
    } forget{*this};
    if (rule && !checkStepDown(*rule, ticked, flags, siteCheck)) return;
    runPasses(ticked, flags);
    endRun(busy);
}

bool BulkRelist::checkStepDown(const StepDownRule& rule, bool ticked, const QList<bool>& flags, const QString& siteCheck) {
    TIECtrl& ie = *browser_.IE;
    const QString host = settings_.auctionHost();
    const QString start = ie.GetUrl();
    SingleRelist single(browser_, book_, carry_, settings_, tally_, ledger_, panel_);
    QList<CheckLine> lines;
    QSet<QString> seen;
    // Every page of the list when every item goes; the ticked ones are on this page alone.
    for (int page = 1;; ++page) {
        if (ie.SelectByTagName(QStringLiteral("A")) != 0) SingleRelist::raiseIfLost(ie);
        const int links = ie.GetListLength();
        QString next;
        int k = 0;
        for (int i = 0; i < links; ++i) {
            const QString href = ie.GetItemAttribute(i, QStringLiteral("href"));
            if (href.contains(QStringLiteral("apg=%1").arg(page + 1))) next = href;
            if (!isItemPageLink(href, host)) continue;
            const bool take = !ticked || (k < flags.size() && flags[k]);
            ++k;
            const QString id = href.mid(href.lastIndexOf(QLatin1Char('/')) + 1);
            if (!take || id.isEmpty() || seen.contains(id)) continue;
            seen.insert(id);
            QString price, closing;
            ie.GetItemCellTexts(i, price, closing);
            lines << planRelist(rule, id, ie.GetItemText(i), price, items_ ? single.ownFloor(*items_, id) : std::nullopt);
        }
        if (ticked || next.isEmpty() || page >= MaxRelisted / BatchSize) break;
        if (ie.NavigateWait(next) != 0) SingleRelist::raiseIfLost(ie);
    }
    if (ie.GetUrl() != start && ie.NavigateWait(start) != 0) SingleRelist::raiseIfLost(ie);
    if (!RelistCheck::ask(lines, siteCheck)) return false;
    // The run walks the links of the list shown.
    if (ie.SelectByTagName(QStringLiteral("A")) != 0) {
        SingleRelist::raiseIfLost(ie);
        MessageService::instance().show(texts::NoData);
        return false;
    }
    return true;
}

void BulkRelist::runPasses(bool ticked, const QList<bool>& flags) {
    TIECtrl& ie = *browser_.IE;
    SingleRelist single(browser_, book_, carry_, settings_, tally_, ledger_, panel_);
    single.useWorkbookItems(items_);
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
            switch (single.ReShuppinClick(true)) {
            case SingleRelist::Outcome::Submitted: ++counts_.relisted; break;
            case SingleRelist::Outcome::Failed: ++counts_.failed; break;
            case SingleRelist::Outcome::NotRelisted:
            case SingleRelist::Outcome::Skipped: ++counts_.skipped; break;
            }
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
    SingleRelist(browser_, book_, carry_, settings_, tally_, ledger_, panel_).openUnsoldList();
    panel_.setStopVisible(false);
    busy.ready();
    panel_.bringToFront();
    QString text = texts::AllDone + texts::AllDoneCounts.arg(counts_.tried).arg(counts_.relisted).arg(counts_.skipped).arg(counts_.failed);
    // The log each relist was written to as it went; named here when it is there.
    QString unusable;
    const QString folder = paths::writableDocumentsFolder(unusable);
    const QString log = folder.isEmpty() ? QString() : QDir(folder).filePath(relistLogName(clock::now().date()));
    if (!log.isEmpty() && QFileInfo::exists(log)) text += texts::AllDoneLog.arg(log);
    MessageService::instance().show(text);
}

void BulkRelist::showProgress() {
    panel_.showRelistProgress(texts::Progress.arg(counts_.pass).arg(counts_.tried).arg(counts_.relisted).arg(counts_.skipped).arg(counts_.failed));
}

} // namespace zk::relist
