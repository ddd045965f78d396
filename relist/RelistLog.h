#pragma once
// The relist log: one line per relist tried, single or bulk, appended to
// "<yyyymmdd>再出品ログ.csv" beside the listing log in the documents folder (UTF-8 with a
// byte-order mark, so that the office reads it as such).
#include "relist/RelistRules.h"
#include "workflow/ListingLedger.h"

#include <QList>
#include <QString>

namespace zk::relist {

// Appends the lines; the file's path, or empty with the reason in `error` (a documents folder
// that cannot be written is named, nothing is written elsewhere).
QString appendRelistLog(const QList<RelistLogEntry>& entries, QString* error);
// The line of a relist record the site showed.
RelistLogEntry relistedEntry(const workflow::ListingRecord& record, const QDateTime& at);

} // namespace zk::relist
