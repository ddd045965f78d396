#include "listing/BatchListing.h"

#include "fields/SiteCheckRun.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "browser/SitePages.h"
#include "category/CategoryTree.h"
#include "fields/Fields.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRoad.h"
#include "listing/ListingFailure.h"
#include "listing/PicUploader.h"
#include "listing/PictureCheck.h"
#include "listing/PictureUpload.h"
#include "listing/BatchSummary.h"
#include "listing/PreflightReport.h"
#include "listing/RoadStepsOnSite.h"
#include "listing/Texts.h"
#include "listing/UploadRules.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "sheet/WorkbookSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace zk::listing {

namespace t = texts::batch;
using batch::Outcome;

namespace {

// Rows read at most in one run; a sheet's end is its first wholly empty row long before.
constexpr int MaxRows = 5000;
// Columns of the header row searched for the category and picture columns, and read of each row.
constexpr int HeaderColumns = 50;
// Rows read in one call.
constexpr int BlockRows = 100;
void say(const QString& text) { MessageService::instance().show(text); }

QString fileNames(const QStringList& paths) {
    QStringList names;
    for (const QString& p : paths) names << QFileInfo(p).fileName();
    return names.join(QStringLiteral("、"));
}

} // namespace

bool BatchListing::ready() {
    if (book_.ExcelState != 1) {
        say(sheet::texts::StartFirst);
        return false;
    }
    // The first press after opening a workbook asks for the first row and the prices, as the
    // upload does.
    // A sheet without price columns lists at the panel's or the definitions' prices.
    if (book_.Row.RowChosen == 0) {
        if (book_.Columns->RowPrompt() == -1) return false;
        book_.Columns->PricePrompt();
    }
    if (panel_.uploadCount() <= 0) {
        say(texts::SetPictureCount);
        return false;
    }
    TPicUploader& up = *carry_.PicUploader;
    if (up.Folder.isEmpty()) {
        PictureUpload(browser_, book_, carry_, ledger_, settings_, panel_).UploadClearClick();
        if (up.Folder.isEmpty()) return false;
    }
    return true;
}

QHash<QString, QString> BatchListing::categories() const {
    QHash<QString, QString> names;
    QFile file(QDir(settings_.dataFolder()).filePath(QStringLiteral("category.txt")));
    if (!file.open(QIODevice::ReadOnly)) return names;
    category::CategoryTree tree;
    tree.parse(file.readAll());
    for (int i = 0; i < tree.size(); ++i) {
        const QByteArray text = tree.node(i).text;
        const QByteArray code = category::CategoryTree::codeOf(text).trimmed();
        if (!code.isEmpty()) names.insert(cp932::toUnicode(code), cp932::toUnicode(text.left(text.indexOf("^/")).trimmed()));
    }
    return names;
}

bool BatchListing::readRun(QList<batch::RowData>& rows, batch::RunPlan& plan, QHash<int, QStringList>& checked) {
    const workflow::RowCursor& cursor = book_.Row;
    sheet::WorkbookSession& cells = *book_.Workbook;
    TPicUploader& up = *carry_.PicUploader;

    // The header row and the rows, each a block in one call: the office answers a block about as
    // fast as one cell.
    QList<QStringList> header;
    if (!cells.ReadBlock(workflow::HeaderRow, 1, workflow::HeaderRow, HeaderColumns, header)) return false;
    int categoryColumn = 0, pictureColumn = 0;
    for (int column = 1; column <= int(header.value(0).size()); ++column) {
        const QString name = header[0][column - 1].trimmed();
        if (name == CategoryHeader && categoryColumn == 0) categoryColumn = column;
        if (name == PictureHeader && pictureColumn == 0) pictureColumn = column;
    }

    const int limit = panel_.batchCount() > 0 ? panel_.batchCount() : MaxRows;
    const int firstValue = cursor.NameColumn + 2;
    const int first = std::max(cursor.CurrentRow, cursor.FirstRow);
    // Each cell both ways, as the single presses read it: the fields a listing takes as values
    // (ID, title, prices) by its value, the description's cells as the office shows them.
    QList<QStringList> block, shownBlock;
    int blockFirst = first;
    bool failed = false;
    for (int row = first; int(rows.size()) < limit && row < first + MaxRows; ++row) {
        if (row - blockFirst >= int(block.size())) {
            blockFirst = row;
            const int last = row + std::min(BlockRows, limit - int(rows.size())) - 1;
            if (!cells.ReadBlock(row, 1, last, HeaderColumns, block, &shownBlock)) return false;
        }
        const QStringList& line = block[row - blockFirst];
        checked.insert(row, line);
        const QStringList& shownLine = shownBlock[row - blockFirst];
        // A cell past the block (a template with marks beyond it) is read by itself.
        auto cell = [&](int column) {
            if (column >= 1 && column <= int(line.size())) return line[column - 1];
            QString text;
            if (!failed && !cells.ReadCellText(row, column, text)) failed = true;
            return text;
        };
        auto shown = [&](int column) {
            if (column >= 1 && column <= int(shownLine.size())) return shownLine[column - 1];
            QString text;
            if (!failed && !cells.ReadShownText(row, column, text)) failed = true;
            return text;
        };
        batch::RowData r;
        r.row = row;
        r.auctionId = cell(cursor.ResultColumn);
        r.title = cell(cursor.NameColumn);
        if (cursor.hasPriceColumns()) {
            r.start = cell(cursor.PriceColumn);
            r.buy = cell(cursor.BuyPriceColumn());
        }
        if (categoryColumn > 0) r.category = cell(categoryColumn);
        if (pictureColumn > 0) r.pictureNames = cell(pictureColumn);
        const QString firstCell = cell(firstValue);
        if (failed) return false;
        // The sheet ends at its first row without anything of an item.
        if (r.auctionId.isEmpty() && r.title.isEmpty() && r.start.isEmpty() && r.buy.isEmpty() && firstCell.isEmpty())
            break;
        if (up.HasDescription)
            r.description = rules::expandDescription(up.DescriptionText, firstValue, shown);
        if (failed) return false;
        rows << r;
    }

    plan.perItem = panel_.uploadCount();
    plan.pictures = up.Files.mid(up.NextIndex);
    for (const QString& picture : up.Files)
        if (QFileInfo::exists(picture)) plan.inFolder << picture;
    const QString workbook = book_.Excel->BookPath;
    for (const batch::RowData& r : rows)
        if (up.KeptShares.contains({workbook, r.row})) plan.kept.insert(r.row, up.KeptShares.value({workbook, r.row}));
    // Looked at on disk as the upload will: only those the run can reach.
    const QList<batch::Verdict> shares = batch::preflight(rows, plan);
    for (const batch::Verdict& v : shares)
        for (const QString& picture : v.pictures)
            if (const QString line = unsendablePicture(up.Folder, picture); !line.isEmpty()) plan.unsendable.insert(picture, line);
    plan.categoryNames = categories();
    for (auto it = plan.categoryNames.begin(); it != plan.categoryNames.end(); ++it) plan.categoryCodes.insert(it.key());
    plan.defaultCategory = carry_.LastCategory;
    plan.folder = up.Folder;
    plan.hasTemplate = up.HasDescription != 0;
    if (up.HasDescription)
        plan.templateBytes = std::max(0, cp932::byteLength(up.DescriptionText) - 2 * int(up.DescriptionText.count(QStringLiteral("%%"))));
    plan.closing = panel_.closingLabel();
    plan.workbookPrices = cursor.hasPriceColumns();
    plan.panelPrices = panel_.panelPricesUsed();
    plan.panelStart = panel_.panelStartPrice();
    plan.panelBuy = panel_.panelBuyPrice();
    plan.panelSokketu = panel_.panelSokketu();
    if (const TFieldDefs* defs = carry_.FieldDefs) {
        auto defined = [&](int index) {
            return index >= 0 && index < int(defs->FieldTable.size()) ? defs->FieldTable[size_t(index)].Value : QString();
        };
        plan.definedStart = defined(defs->StartPriceIndex);
        plan.definedBuy = defined(defs->BuyPriceIndex);
    }
    plan.closingChosen = panel_.closingChosen();
    plan.closingOffered = panel_.closingOffered();
    return true;
}

void BatchListing::RenzokuShuppinClick() {
    // A listing in doubt is asked about first: the run goes on only once the site has settled it.
    if (const workflow::ListingRecord* record = ledger_.current(); record && record->inDoubt()) {
        ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).AskTheSite();
        if (ledger_.current() && ledger_.current()->inDoubt()) return;
    }
    // A listing begun by hand holds pictures of the folder: the run would hand them out again.
    if (const workflow::ListingRecord* open = ledger_.current(); open && open->undoable()) {
        say(t::ListingUnderWay.arg(open->row));
        return;
    }
    workflow::BusyGuard busy(panel_);
    if (!ready()) return;
    QList<batch::RowData> rows;
    batch::RunPlan plan;
    QHash<int, QStringList> checked;
    if (!readRun(rows, plan, checked)) return;
    if (rows.isEmpty()) {
        say(t::NoRows);
        return;
    }
    const QList<batch::Verdict> verdicts = batch::preflight(rows, plan);
    QString siteCheck;
    if (!fields::checkSiteBeforeRun(browser_, settings_, *carry_.FieldDefs, carry_.LastCategory, &siteCheck)) return;
    if (!PreflightReport::ask(verdicts, siteCheck, batch::reportNotes(verdicts, plan))) return;
    // The seller's list before the run: a listing in doubt is never taken for an item on it.
    browser::SitePages(browser_, settings_).ReadSellingList(carry_.SellingBefore);

    int toList = 0;
    for (const batch::Verdict& v : verdicts) toList += v.ok() ? 1 : 0;
    TPicUploader& up = *carry_.PicUploader;
    const int firstPicture = up.NextIndex;
    const QString workbook = book_.Excel->BookPath;
    // The pictures the run hands out are each row's from here on: the folder's pointer is set
    // at the end from what the rows took.
    up.UndoCounts.clear();
    QList<Outcome> outcomes;
    QString stop;
    const QDateTime runStart = clock::now();
    QElapsedTimer elapsed;
    elapsed.start();
    panel_.clearStopRequest();
    panel_.setBatchStopVisible(true);
    int k = 0;
    // The progress line ticks by the second, also while a row waits on the site.
    QTimer tick;
    tick.setInterval(1000);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (k > 0) panel_.showBatchProgress(batch::progressText(k, toList, elapsed.elapsed()));
    });
    tick.start();
    int resumeRow = verdicts.last().row + 1;
    // The rows the run passed: a stop leaves the rest as they were.
    int passed = int(verdicts.size());
    // One verdict per row read, in the same order.
    for (int i = 0; i < verdicts.size(); ++i) {
        const batch::Verdict& v = verdicts[i];
        if (!v.ok()) {
            outcomes << Outcome{Outcome::Kind::Skipped, v.row, v.title, {}, {}, v.errors.join(QStringLiteral("／")),
                                clock::now()};
            continue;
        }
        ++k;
        panel_.showBatchProgress(batch::progressText(k, toList, elapsed.elapsed()));
        // Listed from the check's read only while the row is as the check read it: a row that
        // moved or changed since would send one item's title with another's prices and pictures.
        if (!rowAsChecked(v.row, checked.value(v.row))) {
            resumeRow = v.row;
            passed = i;
            stop = t::StoppedRowChanged.arg(v.row);
            break;
        }
        outcomes << listRow(v, rows[i], plan.workbookPrices, stop);
        if (!stop.isEmpty()) {
            // A row that did not list is where the next press begins, with its own pictures.
            const bool listed = outcomes.last().kind == Outcome::Kind::Listed;
            resumeRow = listed ? v.row + 1 : v.row;
            // Not listed, the row keeps its share below, and the next press gives it the same.
            passed = i + 1;
            if (outcomes.last().kind == Outcome::Kind::NotReached) outcomes.removeLast();
            break;
        }
        if (panel_.stopRequested()) {
            resumeRow = v.row + 1;
            passed = i + 1;
            using Source = workflow::Panel::StopSource;
            const Source from = panel_.stopSource();
            stop = (from == Source::Signal   ? t::StoppedBySignal
                    : from == Source::Window ? t::StoppedByWindow
                                             : t::StoppedByButton)
                       .arg(resumeRow);
            break;
        }
    }
    tick.stop();
    // A row that did not list keeps its share for the next run that reaches it; a listed row's
    // went with it. The folder's order goes on past the rows the run passed.
    QSet<int> listedRows;
    for (const Outcome& o : outcomes)
        if (o.kind == Outcome::Kind::Listed) listedRows.insert(o.row);
    for (int i = 0; i < verdicts.size(); ++i) {
        const batch::Verdict& v = verdicts[i];
        const QPair<QString, int> key{workbook, v.row};
        if (listedRows.contains(v.row) || v.pictures.isEmpty()) up.KeptShares.remove(key);
        else if (i < passed) up.KeptShares.insert(key, v.pictures);
    }
    const int poolNext = passed > 0 ? verdicts[passed - 1].poolNext : 0;
    up.NextIndex = std::min(int(up.Files.size()), firstPicture + poolNext);
    carry_.NextPicture = up.PictureAt(up.NextIndex);
    panel_.showThumbnail(up.NextIndex < up.Files.size() ? carry_.NextPicture : QString());
    // The rows after a stop stay for the next press, which begins at the first of them.
    book_.Row.CurrentRow = stop.isEmpty() ? verdicts.last().row + 1 : resumeRow;
    if (book_.ExcelState == 1) panel_.setNextTitle(book_.Workbook->NextTitle());
    panel_.setBatchStopVisible(false);
    panel_.showBatchProgress({});
    panel_.clearStopRequest();

    const QString log = writeLog(outcomes, QFileInfo(workbook).fileName(), runStart);
    busy.ready();
    BatchSummary::show(batch::summaryText(outcomes, stop, log), log);
}

bool BatchListing::rowAsChecked(int row, const QStringList& checked) {
    QList<QStringList> now;
    // A row that cannot be read is not listed either; the office's failure is said by the read.
    if (book_.ExcelState != 1 || !book_.Workbook->ReadBlock(row, 1, row, HeaderColumns, now)) return false;
    return now.value(0) == checked;
}

Outcome BatchListing::listRow(const batch::Verdict& v, const batch::RowData& row, bool workbookPrices, QString& stop) {
    Outcome outcome{Outcome::Kind::Failed, v.row, v.title, {}, {}, {}, {}};
    ListingInput input;
    input.row = v.row;
    input.workbook = book_.ExcelState == 1 ? book_.Excel->BookPath : QString();
    input.title = row.title;
    input.description = row.description;
    // Without the workbook's prices the fill writes the panel's or the definitions' own.
    if (workbookPrices) {
        input.start = row.start;
        input.buy = row.buy;
    }
    input.category = v.category;
    input.pictures = v.pictures;
    input.before = carry_.SellingBefore;
    input.send = true;
    RoadStepsOnSite steps(browser_, book_, carry_, ledger_, settings_, panel_);
    const ListingResult result = ListingRoad(ledger_, steps, clock::now).run(input);
    outcome.at = clock::now();
    if (result.listed()) {
        outcome.kind = Outcome::Kind::Listed;
        outcome.auctionId = result.auctionId;
        outcome.link = result.link;
        // Saved or not, the listing is on the site; what waits is said once, after the run.
        if (!result.notes.isEmpty()) outcome.reason = result.notes.join(QStringLiteral("／"));
        return outcome;
    }
    using Kind = StepResult::Kind;
    const StepResult& end = result.end;
    outcome.reason = end.why();
    if (!result.picturesBack.isEmpty()) outcome.reason += t::PicturesBack.arg(fileNames(result.picturesBack));
    const bool lost = end.kind == Kind::BrowserLost || end.kind == Kind::OfficeLost || end.code != 0;
    auto stopAt = [&](int next) {
        return (end.kind == Kind::BrowserLost  ? t::StoppedBrowserLost
                : end.kind == Kind::OfficeLost ? t::StoppedOfficeLost
                                               : t::StoppedAtRow)
            .arg(v.row)
            .arg(next);
    };
    if (lost) {
        // Said once, as for any press: the reconnect rule starts a lost browser again.
        sayListingFailure(result, false, browser_, settings_, panel_);
        outcome.kind = Outcome::Kind::NotReached;
        stop = stopAt(v.row);
    } else if (end.kind == Kind::Refused) {
        // Refused before anything was sent (the journal, the closing slot): what stops this row
        // stops the next ones too. The run ends here, the row keeps its pictures for the next press.
        stop = stopAt(v.row);
    }
    if (const workflow::ListingRecord* record = ledger_.current(); record && record->inDoubt()) {
        // Only the site can say whether the agree press listed it: it is asked, and the run ends
        // here unless the site shows it.
        QString found;
        ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).AskTheSite(&found);
        if (!found.isEmpty()) {
            outcome.kind = Outcome::Kind::Listed;
            outcome.auctionId = found;
            outcome.reason.clear();
            if (lost) stop = stopAt(v.row + 1);
            return outcome;
        }
        if (ledger_.current() && ledger_.current()->inDoubt()) {
            outcome.kind = Outcome::Kind::NotReached;
            stop = t::StoppedInDoubt.arg(v.row);
        }
    }
    if (outcome.kind == Outcome::Kind::Failed && outcome.reason.isEmpty())
        outcome.reason = t::StepFailed.arg(t::StepListing);
    return outcome;
}

QString BatchListing::writeLog(const QList<Outcome>& outcomes, const QString& workbook, const QDateTime& runStart) {
    QString unusable;
    paths::DocumentsFault fault = paths::DocumentsFault::None;
    const QString folder = paths::writableDocumentsFolder(unusable, &fault);
    if (folder.isEmpty()) {
        // Named by the folder that failed, never by a name relative to wherever the program runs.
        say(t::LogUnwritable.arg(QDir(unusable).filePath(batch::logFileName(clock::now().date())),
                                 fault == paths::DocumentsFault::CannotMake ? t::DocumentsNotMade : t::DocumentsReadOnly));
        return {};
    }
    const QString path = QDir(folder).filePath(batch::logFileName(clock::now().date()));
    QFile file(path);
    const bool fresh = !file.exists() || file.size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        say(t::LogUnwritable.arg(path, file.errorString()));
        return {};
    }
    QByteArray out;
    // A byte-order mark, so that the office reads the file as UTF-8.
    if (fresh) out += "\xEF\xBB\xBF" + batch::logHeader().toUtf8() + "\r\n";
    for (const Outcome& o : outcomes) out += batch::logLine(o, workbook, runStart).toUtf8() + "\r\n";
    if (file.write(out) != out.size() || !file.flush()) {
        say(t::LogUnwritable.arg(path, file.errorString()));
        return {};
    }
    return path;
}

} // namespace zk::listing
