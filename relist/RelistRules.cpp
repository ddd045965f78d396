#include "relist/RelistRules.h"

#include "browser/SiteMap.h"

namespace zk::relist {

RelistTarget relistTarget(const QString& itemPageUrl, const QString& auctionHost) {
    const QString id = itemPageUrl.mid(itemPageUrl.lastIndexOf(QLatin1Char('/')) + 1);
    return {id, browser::site::relistAddress(itemPageUrl, auctionHost)};
}

bool isItemPageLink(const QString& href, const QString& auctionHost) {
    return href.contains(auctionHost + browser::site::ItemPagePath);
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
