#pragma once
// "一括再出品": relists the items of the list of closed items without a winner one after the
// other, the ticked ones in one pass or all of them, reloading the list until it offers nothing
// new; "停止(&T)" ends the run after the current item.
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
    };
    const Counts& counts() const { return counts_; }

private:
    bool preChecks();
    void runPasses(bool ticked, const QList<bool>& flags);
    void endRun(workflow::BusyGuard& busy);
    void showProgress();
    // The check before the run with the step-down: the site check's result (`siteCheck`) and the
    // items it will take, each with its price now and after; false when the seller chose "中止".
    // The browser is back on the list it was on.
    bool checkStepDown(const StepDownRule& rule, bool ticked, const QList<bool>& flags, const QString& siteCheck);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::RelistTally& tally_;
    workflow::ListingLedger& ledger_;
    workflow::Panel& panel_;
    Counts counts_;
    QSet<QString> opened_;
    const WorkbookItems* items_ = nullptr;
};

} // namespace zk::relist
