#pragma once
// "一括再出品": relists the items of the list of closed items without a winner one after the
// other, the ticked ones (kept by their IDs) or all of them, page by page until every item it
// takes has been tried; "停止(&T)" ends the run after the current item.
#include "relist/RelistRules.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/RelistTally.h"
#include "workflow/Settings.h"

#include <QSet>
#include <QString>

namespace zk::relist {

struct StepDownRule;
struct WorkbookItems;

class BulkRelist {
public:
    BulkRelist(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
               workflow::Settings& settings, workflow::RelistTally& tally, workflow::ListingLedger& ledger,
               workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), settings_(settings), tally_(tally), ledger_(ledger),
          panel_(panel) {}

    void ReShuppinAllClick();

    // How the last run went, for the panel and the tests.
    struct Counts {
        int pass = 0, tried = 0, relisted = 0, skipped = 0, failed = 0;
        int left = 0;         // items the run took that it did not try
        bool stopped = false; // by the stop button or the run's bound, not by the end of the list
    };
    const Counts& counts() const { return counts_; }

private:
    // Walks the list's pages from the one shown, opening each item the run takes once.
    void runPasses(const RunChoice& choice);
    // The IDs of the ticked boxes of the list shown, and ticking them again after a reload.
    QSet<QString> tickedIds();
    void tickAgain(const QSet<QString>& ids);
    // Reads the links of the page shown into the browser's list; false (said) when it cannot.
    bool selectLinks();
    void endRun(workflow::BusyGuard& busy);
    void showProgress();
    // The check before the run with the step-down: the site check's result (`siteCheck`) and the
    // items it will take, each with its price now and after; false when the seller chose "中止".
    // The browser is back on the list it was on. The items the check shows are the run's
    // (`planned`).
    bool checkStepDown(const StepDownRule& rule, const RunChoice& choice, const QString& siteCheck, QSet<QString>& planned);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::RelistTally& tally_;
    workflow::ListingLedger& ledger_;
    workflow::Panel& panel_;
    Counts counts_;
    QSet<QString> opened_; // the IDs of the item pages opened in this run
    const WorkbookItems* items_ = nullptr;
};

} // namespace zk::relist
