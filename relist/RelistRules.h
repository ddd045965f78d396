#pragma once
// The rules of relisting that need no browser: where an item's relist form is, which links of
// the list page are items, and which of them a bulk pass takes.
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

} // namespace zk::relist
