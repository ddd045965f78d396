#pragma once
// The rules of the item set and the submission that need no browser: which prices go into the
// form in either mode, what the browser's address says about the page, the time written beside
// the ID, and the items of the selling list that may be a listing in doubt.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace zk::listing {

enum class PriceField { Start, BuyNow };

struct PriceWrite {
    PriceField field;
    QString value;
    bool operator==(const PriceWrite& o) const { return field == o.field && value == o.value; }
};

// Listing: the item-set panel's prices, only while the panel's prices are in use and no
// workbook column holds them (-1 never asked, 0 cancelled). Nothing when the start price is
// empty; with "即決" the start price goes into both fields; an empty buy-now price is a single
// space, which clears the site's field.
std::vector<PriceWrite> listingPrices(bool panelUsed, int priceColumn, const QString& start,
                                      const QString& buy, bool sokketu);

// Relisting: the relist panel's prices while it is used. With "即決" and no buy-now price the
// start price already on the page is copied into the buy-now field: copyPageStart is set and
// the caller reads it.
struct RelistPricePlan {
    std::vector<PriceWrite> writes;
    bool copyPageStart = false;
};
RelistPricePlan relistPrices(bool used, const QString& start, const QString& buy, bool sokketu);

// The browser shows the confirmation page, not the entry form: the address ends with "preview"
// (one that only holds it, in a query for instance, is still the form).
bool isConfirmationPage(const QString& url);
// The time written beside the ID: "yyyy/mm/dd hh:nn:ss".
QString listingTimeText(const QDateTime& time);

// A link of the seller's selling list: its text and address.
struct ListLink {
    QString text, href;
};
// The items of the selling list that may be a listing in doubt: item pages of the auction
// host's item host ("page." before it) whose link text is the title sent, less the IDs known
// to belong to other rows. Each ID once, in the list's order.
struct ListedItem {
    QString id, link;
    bool operator==(const ListedItem& o) const { return id == o.id && link == o.link; }
};
std::vector<ListedItem> listingCandidates(const std::vector<ListLink>& links, const QString& title,
                                          const QString& auctionHost, const QStringList& knownIds);

// A column of the workbook found by its header (1-based), 0 when no header cell holds it
// (spaces around it aside).
int headedColumn(const QStringList& headers, const QString& header);
// Where a new headed column goes without covering anything: past the last header, on the first
// column that is empty both in the header row and in the row about to be written (1-based).
int freeColumn(const QStringList& headers, const QStringList& rowCells);

} // namespace zk::listing
