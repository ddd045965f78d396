#include "relist/RelistRules.h"

namespace zk::relist {

RelistTarget relistTarget(const QString& itemPageUrl, const QString& auctionHost) {
    const QString prefix = itemPageUrl.left(itemPageUrl.indexOf(QLatin1Char('.')) + 1);
    const QString id = itemPageUrl.mid(itemPageUrl.lastIndexOf(QLatin1Char('/')) + 1);
    return {id, prefix + auctionHost + QStringLiteral("/jp/show/resubmit?aID=") + id};
}

bool isItemPageLink(const QString& href, const QString& auctionHost) {
    return href.contains(auctionHost + QStringLiteral("/jp/auction/"));
}

QStringList collectBatch(const QStringList& hrefs, const QString& auctionHost, const QStringList& relistedIds,
                         const QSet<QString>& opened) {
    QStringList batch;
    for (const QString& href : hrefs) {
        if (batch.size() >= BatchSize) break;
        if (!isItemPageLink(href, auctionHost) || opened.contains(href)) continue;
        bool relisted = false;
        for (const QString& id : relistedIds) {
            if (!id.isEmpty() && href.contains(id)) {
                relisted = true;
                break;
            }
        }
        if (!relisted) batch << href;
    }
    return batch;
}

} // namespace zk::relist
