#include "listing/ListingRules.h"

#include "browser/SiteMap.h"

#include "browser/SitePageRules.h"

#include <QUrl>
#include <algorithm>

namespace zk::listing {

std::vector<PriceWrite> listingPrices(bool panelUsed, int priceColumn, const QString& start,
                                      const QString& buy, bool sokketu) {
    if (!panelUsed || priceColumn >= 1 || start.isEmpty()) return {};
    std::vector<PriceWrite> writes{{PriceField::Start, start}};
    if (sokketu) writes.push_back({PriceField::BuyNow, start});
    else writes.push_back({PriceField::BuyNow, buy.isEmpty() ? QStringLiteral(" ") : buy});
    return writes;
}

RelistPricePlan relistPrices(bool used, const QString& start, const QString& buy, bool sokketu) {
    RelistPricePlan plan;
    if (!used) return plan;
    if (sokketu && !buy.isEmpty()) {
        plan.writes = {{PriceField::Start, buy}, {PriceField::BuyNow, buy}};
    } else if (sokketu) {
        plan.copyPageStart = true;
    } else {
        plan.writes = {{PriceField::Start, start}, {PriceField::BuyNow, buy}};
    }
    return plan;
}

bool isConfirmationPage(const QString& url) { return url.endsWith(browser::site::ConfirmationEnd); }

QString listingTimeText(const QDateTime& time) { return time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")); }

std::vector<ListedItem> listingCandidates(const std::vector<ListLink>& links, const QString& title,
                                          const QString& auctionHost, const QStringList& knownIds) {
    std::vector<ListedItem> found;
    const QString wanted = title.trimmed();
    if (wanted.isEmpty()) return found;
    const QString itemHost = QStringLiteral("page.") + auctionHost;
    for (const ListLink& l : links) {
        if (l.text.trimmed() != wanted) continue;
        QString link = l.href;
        while (link.endsWith('/')) link.chop(1);
        const QUrl url(link);
        const QString authority = url.port() > 0 ? url.host() + ':' + QString::number(url.port()) : url.host();
        if (authority.compare(itemHost, Qt::CaseInsensitive) != 0) continue;
        const QString id = browser::auctionIdFromLink(link);
        if (id.isEmpty() || knownIds.contains(id)) continue;
        if (std::any_of(found.begin(), found.end(), [&](const ListedItem& f) { return f.id == id; })) continue;
        found.push_back({id, link});
    }
    return found;
}

int headedColumn(const QStringList& headers, const QString& header) {
    for (int i = 0; i < headers.size(); ++i)
        if (headers[i].trimmed() == header) return i + 1;
    return 0;
}

int freeColumn(const QStringList& headers, const QStringList& rowCells) {
    int column = int(headers.size());
    while (column > 0 && headers[column - 1].trimmed().isEmpty()) --column;
    // Past the last header; a cell of the row beyond it may hold something of the seller's.
    for (++column;; ++column)
        if (headers.value(column - 1).trimmed().isEmpty() && rowCells.value(column - 1).trimmed().isEmpty()) return column;
}

} // namespace zk::listing
