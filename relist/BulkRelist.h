#pragma once
// "一括再出品": relists the items of the list of closed items without a winner one after the
// other, the ticked ones in one pass or all of them, reloading the list until it offers nothing
// new; "停止(&T)" ends the run after the current item.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

#include <QSet>
#include <QString>

namespace zk::relist {

class BulkRelist {
public:
    BulkRelist(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

    void ReShuppinAllClick();

    // How the last run went, for the panel and the tests.
    struct Counts {
        int pass = 0, tried = 0, relisted = 0, skipped = 0;
    };
    const Counts& counts() const { return counts_; }

private:
    bool preChecks();
    void runPasses(bool ticked, const QList<bool>& flags);
    void endRun(workflow::BusyGuard& busy);
    void showProgress();

    workflow::Shared& shared_;
    workflow::Panel& panel_;
    Counts counts_;
    QSet<QString> opened_;
};

} // namespace zk::relist
