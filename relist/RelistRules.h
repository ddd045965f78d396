#pragma once
// The rules of relisting that need no browser: where an item's relist form is, which links of
// the list page are items, and which of them a bulk pass takes.
#include <QDateTime>
#include <QList>
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

// An item of a list page: its auction ID and the address of its page.
struct ListedItem {
    QString id;
    QString href;
    bool operator==(const ListedItem& o) const { return id == o.id && href == o.href; }
};
// The item links of a list page in page order, each item once (a second link to an item is the
// same item); a link that names no ID is no item a relist can reach.
QList<ListedItem> listedItems(const QStringList& hrefs, const QString& auctionHost);

// The items a bulk run takes: every item it meets, or only those of a list of IDs (the ticked
// ones, or the ones its check showed the seller).
struct RunChoice {
    bool everyItem = true;
    QSet<QString> ids;
    bool wants(const QString& id) const { return everyItem || ids.contains(id); }
    // Every item of the list is opened already: the run has nothing left to look for.
    bool allOpened(const QSet<QString>& opened) const { return !everyItem && opened.contains(ids); }
};

// The items of a list page a run opens now, in page order: the ones it takes and has not opened.
QList<ListedItem> itemsToOpen(const QList<ListedItem>& page, const RunChoice& choice, const QSet<QString>& opened);

// The page number a list address names ("apg"), 1 when it names none.
int listPageNumber(const QString& address);
// Among a list page's links, the one to the page after `page`; empty on the last page.
QString nextPageLink(const QStringList& hrefs, int page);
// No list is expected to have more pages than a run relists items.
constexpr int MaxListPages = MaxRelisted;

// Where a bulk run goes once it has opened the items of a list page. Relisted items leave the
// list and later items move up into their places, so the same page is read again; a page whose
// items all stayed (skipped at the floor, refused, failed) is left for the next one.
enum class ListMove { Again, Next, End };
ListMove afterListPage(int relisted, bool allOpened, bool hasNext);

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
