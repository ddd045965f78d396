#pragma once
// The rules of relisting that need no browser: where an item's relist form is, which links of
// the list page are items, and which of them a bulk pass takes.
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zk::relist {

struct RelistTarget {
    QString auctionId; // the text after the item page address's last "/"
    QString address;   // the relist form of that item
};

// Item pages live on a sub-host of the auction host: the relist form is on the same sub-host
// (the page address up to its first "."), under the auction host's name.
RelistTarget relistTarget(const QString& itemPageUrl, const QString& auctionHost);

// A link of the list page to an item page of the auction site.
bool isItemPageLink(const QString& href, const QString& auctionHost);

// The most item pages one pass of a bulk relist opens, and the most relist addresses one run
// builds.
constexpr int BatchSize = 50;
constexpr int MaxRelisted = 3000;

// One pass's batch, in page order: item links that name no auction ID relisted in this run and
// whose page was not opened in this run yet, at most BatchSize.
QStringList collectBatch(const QStringList& hrefs, const QString& auctionHost, const QStringList& relistedIds,
                         const QSet<QString>& opened);

// One line of the relist log: every relist tried, single or bulk.
struct RelistLogEntry {
    QDateTime at;
    QString oldId, newId, title;
    QString oldStart, oldBuy, newStart, newBuy; // as the form had and got them; empty: none
    QString result, reason;
};
// "<yyyymmdd>再出品ログ.csv"
QString relistLogName(const QDate& day);
// A CSV line (no line end): fields with a comma, a quote or a line break are quoted.
QString relistLogLine(const RelistLogEntry& entry);

} // namespace zk::relist
