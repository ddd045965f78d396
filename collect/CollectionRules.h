#pragma once
// The rules of the item-name collection that need neither browser nor spreadsheet: which list a
// mode walks, which links are item links, the auction ID in an address, the price text, and
// when and where the workbook is saved.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace zk::collect {

// The modes of CollectionRadio, in its order.
enum class CollectionMode { Current = 0, Sold = 1, Unsold = 2 };

struct CollectionList {
    CollectionMode mode = CollectionMode::Current;
    QString label;        // in the question, the title cell and the file name
    QString startAddress; // page 1 of the list
};

// The list of a radio index (out of range reads as the first): the current items' address, or
// the closed items' address followed by "1" (sold) or "0" (unsold).
CollectionList collectionList(int radioIndex, const QString& currentListUrl, const QString& closedListUrl);

// Page `page` of the list: page 1 is the start address itself.
QString pageAddress(const QString& startAddress, int page);

// "." + auction host + "/jp/auction/": what an item page's address holds near its start.
QString itemPageMarker(const QString& auctionHost);
// The marker must begin within the first MarkerPositionLimit characters (1-based), which keeps
// out links that carry an item address further on, as a redirect parameter does.
inline constexpr int MarkerPositionLimit = 20;
bool isItemLink(const QString& address, const QString& marker);

// The text after the last "/"; empty for an address that ends in "/".
QString auctionIdOf(const QString& address);

// The price text up to the first " 円"; the whole text when there is none.
QString cutYen(const QString& text);

// The headers of row 3, one for every column the mode writes: the sold list adds its price, its
// buyer and when the auction ended.
QStringList headers(CollectionMode mode);
// How many of the cells after the title cell a mode reads: price, buyer and end time when sold.
int cellsRead(CollectionMode mode);

// A price as the list shows it ("4,500", "4,500 円", full-width digits too) as a whole number of
// yen; none when it is no such number (then the text is kept as the list showed it).
std::optional<qint64> priceValue(const QString& text);
// When an auction ended, as the closed list shows it: "2024年5月3日 9時05分" (the time may be
// left out, or written "09:05"); none when the text is no such date.
std::optional<QDateTime> endTimeOf(const QString& text);

// The cells F, G, H of a sold item's row from the texts after its title cell: the price as a
// number (as text when it is none, empty when missing), the buyer, the end time as a date and
// time (as text when it is none).
QVariantList soldCells(const QStringList& cellTexts);

// One sold item as the summary counts it.
struct Sale {
    std::optional<qint64> price;
    std::optional<QDateTime> endedAt;
};
struct SalesLine {
    int count = 0;       // items
    int priced = 0;      // of which with a price
    qint64 total = 0;    // their prices
    double average() const { return priced == 0 ? 0.0 : double(total) / priced; }
    bool operator==(const SalesLine& o) const { return count == o.count && priced == o.priced && total == o.total; }
};
struct DaySales {
    QDate day; // invalid: the items without an end time
    SalesLine line;
    bool operator==(const DaySales& o) const { return day == o.day && line == o.line; }
};
struct SalesSummary {
    SalesLine all;
    QList<DaySales> days; // by end day, oldest first; the items without an end time last
};
SalesSummary summarize(const QList<Sale>& sales);

// Whether the rows are saved after page `page` while the walk goes on: first after `firstSave`
// pages, then each time after twice as many pages as before (10, 30, 70, 150, ... for 10). A save
// writes the whole growing file, so saves at a fixed step would together cost the square of the
// list's length; so spaced they cost about twice the last one, and a lost office still costs no
// more pages than the file held.
bool isSavePage(int page, int firstSave);
// The collection's first save: the save goes on beside the walk and is awaited before the page
// after next is begun.
inline constexpr int FirstSavePages = 10;

// <folder>/<yyyymmdd><label>, without extension (the office adds its default one).
QString collectionFileName(const QString& folder, const QDate& date, const QString& label);

// The folder the workbook goes to when no documents folder is named at all: the home folder, or
// the current one when even that is unknown.
QString fallbackFolder();

} // namespace zk::collect
