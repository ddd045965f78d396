#pragma once
// The running bulk relist's tally: how many items it relisted and their auction IDs.
#include <QStringList>

namespace zk::workflow {

struct RelistTally {
    int RelistedCount = 0;
    QStringList RelistedIDs; // at most 3000
};

} // namespace zk::workflow
