#pragma once
// The rules of "連続出品" that need no browser, workbook or disk: the check of every row before
// the first is sent (what the site would refuse, what is only worth a look), the pictures each
// row will take, the progress line, the listing log's lines and the closing summary.
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zk::listing::batch {

// One row of the run as the workbook holds it; the description already expanded from the
// picture folder's template.
struct RowData {
    int row = 0;
    QString auctionId, title, category, start, buy, description;
    // The row's own "画像" cell: the files it names, separated by spaces or commas.
    QString pictureNames;
};

// What the run will use besides the rows.
struct RunPlan {
    // Pictures per item and the folder's pictures not sent yet from its pointer on, in the order
    // they go.
    int perItem = 0;
    QStringList pictures;
    // Every picture still in the folder, wherever the pointer is: what a "画像" cell may name.
    QStringList inFolder;
    // Shares an earlier run gave rows that did not list, by row; a row takes its own again.
    QHash<int, QStringList> kept;
    // Those of them that cannot be sent, each with its reason ("name：reason").
    QHash<QString, QString> unsendable;
    // The category codes of category.txt with their names; a row's own code (a "カテゴリ"
    // column) else this one.
    QSet<QString> categoryCodes;
    QHash<QString, QString> categoryNames;
    QString defaultCategory;
    // The picture folder as chosen, and whether it holds a description template.
    QString folder;
    bool hasTemplate = false;
    // The bytes the folder's template adds to every description by itself (its marks not
    // counted); 0 without a template.
    int templateBytes = 0;
    // The closing slot as the panel shows it.
    QString closing;
    // Prices: from the workbook's columns when it has them, else the panel's while used, else
    // the field definitions' own.
    bool workbookPrices = false;
    bool panelPrices = false;
    QString panelStart, panelBuy;
    bool panelSokketu = false;
    QString definedStart, definedBuy;
    // The closing slot: chosen on the sub page, and still offered by the site now.
    bool closingChosen = false;
    bool closingOffered = false;
};

// Where a row's prices come from.
enum class PriceSource { Workbook, Panel, Defined };

struct Verdict {
    int row = 0;
    QString title;
    QStringList errors;   // the row is skipped
    QStringList warnings; // the row lists; worth a look
    QString category;     // the code the row lists in
    QString categoryName;
    QString start, buy; // as the form gets them
    PriceSource prices = PriceSource::Workbook;
    QString closing;
    // The row's share of the folder, taken whether it lists or not (a row skipped leaves it in
    // the folder, for itself); sent only when the row lists.
    QStringList pictures;
    bool named = false; // the share is what the row's "画像" cell names
    bool picturesShort = false; // the folder ran out before this row's share was whole
    // Past the last folder picture of the run's order this row or a row before it took: where the
    // folder's pointer stands once the run has passed this row.
    int poolNext = 0;
    bool ok() const { return errors.isEmpty(); }
};

// The files a "画像" cell names, in its order: split at spaces (half or full width), commas and
// "、".
QStringList namedPictures(const QString& cell);

// Every row checked in order. Each row that holds no auction ID takes its share in row order,
// listing or not: the files its "画像" cell names, else its share kept from an earlier run, else
// the next ones of the folder's order (the named and kept files left out of that order).
QList<Verdict> preflight(const QList<RowData>& rows, const RunPlan& plan);

// The start and buy-now prices the form will get for a row, as the site reads them: the one
// rule of which prices go, for the single presses' fill as for the run's check.
struct Prices {
    QString start, buy;
};
Prices effectivePrices(const RowData& row, const RunPlan& plan);
PriceSource priceSource(const RunPlan& plan);
QString priceSourceName(PriceSource source);
// What is wrong with a pair of prices for the site; empty when nothing.
QStringList priceProblems(const Prices& prices);
// What is wrong with a title for the site (errors) and what is only odd (warnings).
void checkTitle(const QString& title, QStringList& errors, QStringList& warnings);
// Characters of the text that have no CP932 form, each once, in order.
QString charactersOutsideCp932(const QString& text);
// A price as the site takes it: half-width digits only; -1 when not, -2 when it is a whole
// number below zero.
long long wholePrice(const QString& text);
// The title as the upload sends it: the spaces around it are not sent.
QString titleAsSent(const QString& title);

// "連続出品 3/10件目　経過 1:05　残り 約2:10": row k of n (1-based), the time since the run
// began; the time left is estimated from the rows done (none before the first is done).
QString progressText(int k, int n, qint64 elapsedMs);
// "m:ss" or "h:mm:ss".
QString durationText(qint64 ms);

// How one row of the run ended.
struct Outcome {
    enum class Kind { Listed, Skipped, Failed, NotReached };
    Kind kind = Kind::Skipped;
    int row = 0;
    QString title, auctionId, link, reason;
    QDateTime at;
};
QString resultName(Outcome::Kind kind);

// The listing log: its dated name in the documents folder, its header and one CSV line per
// row (UTF-8 with a byte-order mark, so the office opens it with Japanese intact).
QString logFileName(const QDate& day);
QString logHeader();
// The run's workbook (its file name) and start go on every line: one day's log holds several
// workbooks' rows.
QString logLine(const Outcome& outcome, const QString& workbook, const QDateTime& runStart);
// A CSV field: quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& text);

// The one summary at the end: counts, then each listed row with its auction ID, each skipped
// and failed row with its reason; where the run stopped early, where and why.
QString summaryText(const QList<Outcome>& outcomes, const QString& stoppedAt, const QString& logPath);

// What the check says once for the whole run, below the rows: why every description is empty
// (no template in the picture folder), and which folder runs out of pictures.
QStringList reportNotes(const QList<Verdict>& verdicts, const RunPlan& plan);

// One line per row of the check as plain text: what the report shows, for a transcript.
QString reportText(const QList<Verdict>& verdicts);

} // namespace zk::listing::batch
