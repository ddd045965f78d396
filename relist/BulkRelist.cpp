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
    // Each box holds its item's ID: the ticks are kept by it, whatever the reloads below move.
    const QSet<QString> ticks = tickedIds();
    RunChoice choice;
    choice.everyItem = ticks.isEmpty();
    choice.ids = ticks;
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
    const QString question = !ticks.isEmpty() ? texts::RelistTicked
                             : filter.isEmpty() ? texts::RelistAll
                                                : filter + texts::RelistFiltered;
    if (messages.show(question, texts::ConfirmCaption, Icon::Question, Buttons::YesNo) != Answer::Yes) return;
    // The site checked before the first run after a start: a page that moved stops the run
    // before anything is sent. The check leaves the list and comes back to it.
    QString siteCheck;
    if (carry_.FieldDefs &&
        !fields::checkSiteBeforeRun(browser_, settings_, *carry_.FieldDefs, carry_.LastCategory, &siteCheck))
        return;
    // The run walks the list from its first page: items move up into it as others are relisted.
    if (listPageNumber(ie.GetUrl()) != 1 && single.openUnsoldList() != 0) return;
    tickAgain(ticks);
    if (!selectLinks()) return;

    // Read once for the whole run: the items' rows, and their own floors.
    const WorkbookItems items = single.readWorkbookItems();
    items_ = &items;
    struct Forget {
        BulkRelist& run;
        ~Forget() { run.items_ = nullptr; }
    } forget{*this};
    if (rule) {
        // The run takes what the check showed the seller, and nothing that came later.
        QSet<QString> planned;
        if (!checkStepDown(*rule, choice, siteCheck, planned)) return;
        choice.everyItem = false;
        choice.ids = planned;
    }
    runPasses(choice);
    endRun(busy);
}

QSet<QString> BulkRelist::tickedIds() {
    TIECtrl& ie = *browser_.IE;
    QSet<QString> ids;
    if (ie.SelectByName(browser::site::AidList) != 0) return ids;
    const int boxes = ie.GetListLength();
    for (int i = 0; i < boxes; ++i)
        if (ie.GetItemChecked(i)) ids.insert(ie.GetItemAttribute(i, QStringLiteral("value")).trimmed());
    ids.remove(QString());
    return ids;
}

void BulkRelist::tickAgain(const QSet<QString>& ids) {
    TIECtrl& ie = *browser_.IE;
    if (ids.isEmpty() || ie.SelectByName(browser::site::AidList) != 0) return;
    const int boxes = ie.GetListLength();
    for (int i = 0; i < boxes; ++i)
        if (ids.contains(ie.GetItemAttribute(i, QStringLiteral("value")).trimmed())) ie.SetItemChecked(i, true);
}

bool BulkRelist::selectLinks() {
    TIECtrl& ie = *browser_.IE;
    if (ie.SelectByTagName(QStringLiteral("A")) == 0 && ie.GetListLength() > 0) return true;
    SingleRelist::raiseIfLost(ie);
    MessageService::instance().show(texts::NoData);
    return false;
}

namespace {
QStringList linkAddresses(TIECtrl& ie) {
    QStringList hrefs;
    const int links = ie.GetListLength();
    for (int i = 0; i < links; ++i) hrefs << ie.GetItemAttribute(i, QStringLiteral("href"));
    return hrefs;
}
} // namespace

bool BulkRelist::checkStepDown(const StepDownRule& rule, const RunChoice& choice, const QString& siteCheck,
                               QSet<QString>& planned) {
    TIECtrl& ie = *browser_.IE;
    const QString host = settings_.auctionHost();
    const QString start = ie.GetUrl();
    SingleRelist single(browser_, book_, carry_, settings_, tally_, ledger_, panel_);
    QList<CheckLine> lines;
    // Every page of the list, until every ticked item is found.
    for (int page = 1;; ++page) {
        if (ie.SelectByTagName(QStringLiteral("A")) != 0) SingleRelist::raiseIfLost(ie);
        const int links = ie.GetListLength();
        QStringList hrefs;
        for (int i = 0; i < links; ++i) {
            const QString href = ie.GetItemAttribute(i, QStringLiteral("href"));
            hrefs << href;
            if (!isItemPageLink(href, host)) continue;
            const QString id = relistTarget(href, host).auctionId;
            if (id.isEmpty() || !choice.wants(id) || planned.contains(id)) continue;
            planned.insert(id);
            QString price, closing;
            ie.GetItemCellTexts(i, price, closing);
            lines << planRelist(rule, id, ie.GetItemText(i), price, items_ ? single.ownFloor(*items_, id) : std::nullopt);
        }
        const QString next = nextPageLink(hrefs, page);
        if (choice.allOpened(planned) || next.isEmpty() || page >= MaxListPages) break;
        if (ie.NavigateWait(next) != 0) SingleRelist::raiseIfLost(ie);
    }
    if (ie.GetUrl() != start && ie.NavigateWait(start) != 0) SingleRelist::raiseIfLost(ie);
    if (!choice.everyItem) tickAgain(choice.ids);
    if (!RelistCheck::ask(lines, siteCheck)) return false;
    // The run walks the links of the list shown.
    return selectLinks();
}

void BulkRelist::runPasses(const RunChoice& choice) {
    TIECtrl& ie = *browser_.IE;
    const QString host = settings_.auctionHost();
    SingleRelist single(browser_, book_, carry_, settings_, tally_, ledger_, panel_);
    single.useWorkbookItems(items_);
    panel_.setStopVisible(true);
    // However the walk ends, what the run took and did not try is counted.
    struct Left {
        BulkRelist& run;
        const RunChoice& choice;
        ~Left() {
            if (!choice.everyItem) run.counts_.left = int((choice.ids - run.opened_).size());
        }
    } left{*this, choice};
    for (int page = 1;;) {
        if (panel_.stopRequested()) {
            counts_.stopped = true;
            return;
        }
        const QString here = ie.GetUrl();
        const QStringList hrefs = linkAddresses(ie);
        const QList<ListedItem> open = itemsToOpen(listedItems(hrefs, host), choice, opened_);
        const QString next = nextPageLink(hrefs, page);
        ++counts_.pass;
        showProgress();
        QCoreApplication::processEvents();
        int relisted = 0;
        for (const ListedItem& item : open) {
            if (panel_.stopRequested()) {
                counts_.stopped = true;
                return;
            }
            // Whatever becomes of it, an item page opened in this run is not opened again: an
            // item that fails before its relist address is known would otherwise come back at
            // every reading of its page and the run would never end by itself.
            opened_.insert(item.id);
            ++counts_.tried;
            // Its result is not examined: the relist finds a page that failed; a lost browser raises.
            if (ie.NavigateWait(item.href) == TIECtrl::AutomationFailed) SingleRelist::raiseIfLost(ie);
            workflow::pause(100);
            switch (single.ReShuppinClick(true)) {
            case SingleRelist::Outcome::Submitted:
                ++counts_.relisted;
                ++relisted;
                break;
            case SingleRelist::Outcome::Failed: ++counts_.failed; break;
            case SingleRelist::Outcome::NotRelisted:
            case SingleRelist::Outcome::Skipped: ++counts_.skipped; break;
            }
            showProgress();
            if (tally_.RelistedIDs.size() >= MaxRelisted) {
                counts_.stopped = true;
                return;
            }
        }
        const ListMove move = afterListPage(relisted, choice.allOpened(opened_), !next.isEmpty() && page < MaxListPages);
        if (move == ListMove::End) return;
        if (move == ListMove::Next) ++page;
        if (ie.NavigateWait(move == ListMove::Next ? next : here) == TIECtrl::AutomationFailed)
            SingleRelist::raiseIfLost(ie);
        if (!selectLinks()) return;
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
    if (counts_.left > 0) text += (counts_.stopped ? texts::AllDoneStopped : texts::AllDoneMissing).arg(counts_.left);
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
