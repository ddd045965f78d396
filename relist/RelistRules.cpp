#include "relist/RelistRules.h"

#include "browser/SiteMap.h"
#include "relist/Texts.h"

#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

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
        // The link's own ID, whole: "b123" is not relisted because "b1234" was.
        const QString id = relistTarget(href, auctionHost).auctionId;
        if (id.isEmpty() || !relistedIds.contains(id)) batch << href;
    }
    return batch;
}

QList<ListedItem> listedItems(const QStringList& hrefs, const QString& auctionHost) {
    QList<ListedItem> items;
    QSet<QString> seen;
    for (const QString& href : hrefs) {
        if (!isItemPageLink(href, auctionHost)) continue;
        const QString id = relistTarget(href, auctionHost).auctionId;
        if (id.isEmpty() || seen.contains(id)) continue;
        seen.insert(id);
        items << ListedItem{id, href};
    }
    return items;
}

QList<ListedItem> itemsToOpen(const QList<ListedItem>& page, const RunChoice& choice, const QSet<QString>& opened) {
    QList<ListedItem> open;
    for (const ListedItem& item : page)
        if (choice.wants(item.id) && !opened.contains(item.id)) open << item;
    return open;
}

namespace {
// The value of the page parameter in an address, 0 when it has none that is a number.
int pageParameter(const QString& address) {
    const QUrlQuery query(QUrl(address).query());
    bool ok = false;
    const int n = query.queryItemValue(QStringLiteral("apg")).toInt(&ok);
    return ok ? n : 0;
}
} // namespace

int listPageNumber(const QString& address) { return std::max(1, pageParameter(address)); }

QString nextPageLink(const QStringList& hrefs, int page) {
    for (const QString& href : hrefs)
        if (pageParameter(href) == page + 1) return href;
    return {};
}

ListMove afterListPage(int relisted, bool allOpened, bool hasNext) {
    if (allOpened) return ListMove::End;
    if (relisted > 0) return ListMove::Again;
    return hasNext ? ListMove::Next : ListMove::End;
}

namespace {
QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

QString relistLogName(const QDate& day) { return texts::LogName.arg(day.toString(QStringLiteral("yyyyMMdd"))); }

QString relistLogLine(const RelistLogEntry& e) {
    const QStringList fields{e.at.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                             e.oldId,
                             e.newId,
                             e.title,
                             e.oldStart,
                             e.oldBuy,
                             e.newStart,
                             e.newBuy,
                             e.result,
                             e.reason};
    QStringList out;
    for (const QString& f : fields) out << csvField(f);
    return out.join(QLatin1Char(','));
}

} // namespace zk::relist
