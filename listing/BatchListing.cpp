#include "listing/BatchListing.h"

#include "browser/Iectrl.h"
#include "browser/SiteMessages.h"
#include "category/CategoryNavigation.h"
#include "category/CategoryTree.h"
#include "listing/ItemSet.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/OneListingUndo.h"
#include "listing/PicUploader.h"
#include "listing/PictureCheck.h"
#include "listing/PictureUpload.h"
#include "listing/PreflightReport.h"
#include "listing/Submission.h"
#include "listing/Texts.h"
#include "listing/UploadRules.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/calc/Application.h"
#include "platform/calc/Office.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "sheet/WorkbookSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zk::listing {

namespace t = texts::batch;
using batch::Outcome;

namespace {

// Rows read at most in one run; a sheet's end is its first wholly empty row long before.
constexpr int MaxRows = 5000;
// Columns of the header row searched for the category column.
constexpr int HeaderColumns = 50;
// How long the site's answer to the form's confirm press may take.
constexpr int ConfirmWaitSeconds = 20;

void say(const QString& text) { MessageService::instance().show(text); }

// Informing boxes are kept while set, shown again on every way out.
class HeldNotices {
public:
    explicit HeldNotices(QStringList& sink) : previous_(MessageService::instance().noticeSink()) {
        MessageService::instance().setNoticeSink(&sink);
    }
    ~HeldNotices() { MessageService::instance().setNoticeSink(previous_); }
    HeldNotices(const HeldNotices&) = delete;
    HeldNotices& operator=(const HeldNotices&) = delete;

private:
    QStringList* previous_;
};

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
    if (book_.Row.RowChosen == 0) {
        if (book_.Columns->RowPrompt() == -1) return false;
        book_.Columns->PricePrompt();
        if (book_.Row.PriceColumn == 0) return false;
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

QSet<QString> BatchListing::categoryCodes() const {
    QSet<QString> codes;
    QFile file(QDir(settings_.dataFolder()).filePath(QStringLiteral("category.txt")));
    if (!file.open(QIODevice::ReadOnly)) return codes;
    category::CategoryTree tree;
    tree.parse(file.readAll());
    for (int i = 0; i < tree.size(); ++i) {
        const QByteArray code = category::CategoryTree::codeOf(tree.node(i).text).trimmed();
        if (!code.isEmpty()) codes.insert(cp932::toUnicode(code));
    }
    return codes;
}

bool BatchListing::readRun(QList<batch::RowData>& rows, batch::RunPlan& plan) {
    const workflow::RowCursor& cursor = book_.Row;
    sheet::WorkbookSession& cells = *book_.Workbook;
    TPicUploader& up = *carry_.PicUploader;

    int categoryColumn = 0;
    for (int column = 1; column <= HeaderColumns && categoryColumn == 0; ++column) {
        QString header;
        if (!cells.ReadCellText(workflow::HeaderRow, column, header)) return false;
        if (header.trimmed() == CategoryHeader) categoryColumn = column;
    }

    const int limit = panel_.batchCount() > 0 ? panel_.batchCount() : MaxRows;
    const int firstValue = cursor.NameColumn + 2;
    bool failed = false;
    for (int row = std::max(cursor.CurrentRow, cursor.FirstRow); int(rows.size()) < limit; ++row) {
        auto cell = [&](int column) {
            QString text;
            if (!failed && !cells.ReadCellText(row, column, text)) failed = true;
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
        const QString firstCell = cell(firstValue);
        if (failed) return false;
        // The sheet ends at its first row without anything of an item.
        if (r.auctionId.isEmpty() && r.title.isEmpty() && r.start.isEmpty() && r.buy.isEmpty() && firstCell.isEmpty())
            break;
        if (up.HasDescription)
            r.description = rules::expandDescription(up.DescriptionText, firstValue, [&](int column) {
                return column == firstValue ? firstCell : cell(column);
            });
        if (failed) return false;
        rows << r;
    }

    plan.perItem = panel_.uploadCount();
    plan.pictures = up.Files.mid(up.NextIndex);
    // Looked at on disk as the upload will: only those the run can reach.
    for (const QString& picture : plan.pictures.mid(0, int(rows.size()) * plan.perItem))
        if (const QString line = unsendablePicture(up.Folder, picture); !line.isEmpty()) plan.unsendable.insert(picture, line);
    plan.categoryCodes = categoryCodes();
    plan.defaultCategory = carry_.LastCategory;
    plan.workbookPrices = cursor.hasPriceColumns();
    plan.panelPrices = panel_.panelPricesUsed();
    plan.panelStart = panel_.panelStartPrice();
    plan.panelBuy = panel_.panelBuyPrice();
    plan.panelSokketu = panel_.panelSokketu();
    plan.closingChosen = panel_.closingChosen();
    plan.closingOffered = panel_.closingOffered();
    return true;
}

void BatchListing::RenzokuShuppinClick() {
    if (!ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).SettleDoubt()) return;
    workflow::BusyGuard busy(panel_);
    if (!ready()) return;
    QList<batch::RowData> rows;
    batch::RunPlan plan;
    if (!readRun(rows, plan)) return;
    if (rows.isEmpty()) {
        say(t::NoRows);
        return;
    }
    const QList<batch::Verdict> verdicts = batch::preflight(rows, plan);
    if (!PreflightReport::ask(verdicts)) return;

    int toList = 0;
    for (const batch::Verdict& v : verdicts) toList += v.ok() ? 1 : 0;
    QList<Outcome> outcomes;
    QString stop;
    QElapsedTimer elapsed;
    elapsed.start();
    panel_.clearStopRequest();
    panel_.setBatchStopVisible(true);
    int k = 0;
    int resumeRow = verdicts.last().row + 1;
    // One verdict per row read, in the same order.
    for (int i = 0; i < verdicts.size(); ++i) {
        const batch::Verdict& v = verdicts[i];
        if (!v.ok()) {
            outcomes << Outcome{Outcome::Kind::Skipped, v.row, v.title, {}, {}, v.errors.join(QStringLiteral("／")),
                                clock::now()};
            continue;
        }
        panel_.showBatchProgress(batch::progressText(++k, toList, elapsed.elapsed()));
        outcomes << listRow(v, rows[i], stop);
        if (!stop.isEmpty()) {
            // A row that did not list is where the next press begins.
            resumeRow = outcomes.last().kind == Outcome::Kind::Listed ? v.row + 1 : v.row;
            if (outcomes.last().kind == Outcome::Kind::NotReached) outcomes.removeLast();
            break;
        }
        if (panel_.stopRequested()) {
            resumeRow = v.row + 1;
            stop = t::StoppedByButton.arg(resumeRow);
            break;
        }
    }
    // The rows after a stop stay for the next press, which begins at the first of them.
    book_.Row.CurrentRow = stop.isEmpty() ? verdicts.last().row + 1 : resumeRow;
    if (book_.ExcelState == 1) panel_.setNextTitle(book_.Workbook->NextTitle());
    panel_.setBatchStopVisible(false);
    panel_.showBatchProgress({});
    panel_.clearStopRequest();

    const QString log = writeLog(outcomes);
    busy.ready();
    MessageService::instance().show(batch::summaryText(outcomes, stop, log), t::ReportCaption,
                                    stop.isEmpty() ? Icon::Information : Icon::Exclamation);
}

Outcome BatchListing::listRow(const batch::Verdict& v, const batch::RowData& row, QString& stop) {
    Outcome outcome{Outcome::Kind::Failed, v.row, v.title, {}, {}, {}, {}};
    notices_.clear();
    const qint64 browser = browserProcess();
    {
        HeldNotices held(notices_);
        // Every row is a press of its own inside the run: what escapes a step is caught and said
        // as for any press, and the run judges what it left.
        bool ran = false;
        panel_.guardPress([&] {
            runSteps(v, row, outcome);
            ran = true;
        });
        const bool browserLost =
            browser_.IEConnected == 0 || !browser_.IE->IsConnected() || browserProcess() != browser;
        if (browserLost || officeLost() || !ran) {
            reconcile();
            if (outcome.kind != Outcome::Kind::Listed) {
                outcome.kind = Outcome::Kind::NotReached;
                if (ledger_.current()) stop = t::StoppedInDoubt.arg(v.row);
            }
            if (stop.isEmpty()) {
                const int next = outcome.kind == Outcome::Kind::Listed ? v.row + 1 : v.row;
                const QString& why = browserLost ? t::StoppedBrowserLost
                                     : officeLost() ? t::StoppedOfficeLost
                                                    : t::StoppedAtRow;
                stop = why.arg(v.row).arg(next);
            }
        } else if (ledger_.current() && ledger_.current()->inDoubt()) {
            // The site could not say whether the agree press listed it: nothing more is listed.
            stop = t::StoppedInDoubt.arg(v.row);
        }
    }
    if (outcome.kind == Outcome::Kind::Failed && outcome.reason.isEmpty())
        outcome.reason = notices_.join(QStringLiteral("／"));
    if (!stop.isEmpty() && !notices_.isEmpty()) stop += QStringLiteral("\n") + notices_.join('\n');
    outcome.at = clock::now();
    return outcome;
}

void BatchListing::runSteps(const batch::Verdict& v, const batch::RowData& row, Outcome& outcome) {
    TIECtrl& ie = *browser_.IE;
    auto failed = [&](const QString& step) {
        if (outcome.reason.isEmpty())
            outcome.reason = notices_.isEmpty() ? t::StepFailed.arg(step) : notices_.join(QStringLiteral("／"));
        if (ledger_.current() && ledger_.current()->undoable()) abandon(outcome);
    };

    // The category's listing page; the navigation says where the code stands on success.
    const QString before = carry_.LastCategory;
    carry_.LastCategory.clear();
    category::CategoryNavigation(browser_, carry_, settings_, panel_).GotoGategory(v.category);
    if (carry_.LastCategory != v.category) {
        if (carry_.LastCategory.isEmpty()) carry_.LastCategory = before;
        return failed(t::StepCategory);
    }

    // The row's pictures, title, description and prices.
    book_.Row.CurrentRow = v.row;
    PictureUpload upload(browser_, book_, carry_, ledger_, settings_, panel_);
    upload.ShiftHeld = [] { return false; };
    upload.UploadButtonClick(&row);
    const workflow::ListingRecord* record = ledger_.current();
    if (!record || record->row != v.row || record->stage != workflow::ListingRecord::Stage::Uploaded)
        return failed(t::StepUpload);

    // The fixed answers and the closing slot, then the form's confirm press.
    ItemSet(browser_, book_, carry_, ledger_, settings_, panel_).SetShuppinClick();
    record = ledger_.current();
    if (!record || record->stage != workflow::ListingRecord::Stage::ItemSet) return failed(t::StepItemSet);
    if (!panel_.sendAfterFill()) {
        if (ie.SelectById(texts::SubmitElement) != 0 || ie.List.isNull() || ie.ClickSelected() != 0)
            return failed(t::StepItemSet);
    }
    ie.WaitIdle(ConfirmWaitSeconds);
    ie.WaitComplete(ConfirmWaitSeconds);
    // A refusal comes back at the confirmation's own address: the page's messages tell.
    const QString refused = siteMessages();
    if (!refused.isEmpty() || !isConfirmationPage(ie.GetUrl())) {
        outcome.reason = refused;
        return failed(t::StepItemSet);
    }

    // The agree press: the record takes the site's ID into its row.
    const QStringList known = ledger_.knownIds();
    Submission(browser_, book_, carry_, ledger_, settings_, panel_).ExhibitClick();
    const QStringList now = ledger_.knownIds();
    if (ledger_.current() || now.isEmpty() || known.contains(now.last())) return failed(t::StepListing);
    outcome.kind = Outcome::Kind::Listed;
    outcome.auctionId = now.last();
    if (book_.ExcelState == 1)
        book_.Workbook->ReadCellText(v.row, workflow::column::Link, outcome.link,
                                     sheet::WorkbookSession::Failure::Quiet);
}

QString BatchListing::siteMessages() { return browser::siteErrors(*browser_.IE).join(QStringLiteral("／")); }

void BatchListing::abandon(Outcome& outcome) {
    const workflow::ListingRecord* record = ledger_.current();
    if (!record) return;
    if (!record->pictures.isEmpty()) outcome.reason += t::PicturesSpent.arg(fileNames(record->pictures));
    if (record->row > 0 && book_.ExcelState == 1 && book_.Excel->BookPath == record->workbook)
        book_.Excel->SetBackgroundColor(record->row, workflow::colour::None);
    ledger_.drop();
}

void BatchListing::reconcile() {
    const workflow::ListingRecord* record = ledger_.current();
    if (!record) return;
    if (record->inDoubt())
        ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).AskTheSite();
    else if (record->undoable())
        undoOneListing(book_, carry_, ledger_, panel_);
}

qint64 BatchListing::browserProcess() const {
    const chromium::ChromiumBrowser* browser = browser_.IE->session();
    return browser ? browser->processId() : 0;
}

bool BatchListing::officeLost() const {
    const sheet::TExcel& excel = *book_.Excel;
    return book_.ExcelState != 1 || (excel.ExcelApp && !excel.ExcelApp->office().connected());
}

QString BatchListing::writeLog(const QList<Outcome>& outcomes) {
    const QString folder = paths::documentsFolder();
    const QString path = QDir(folder).filePath(batch::logFileName(clock::now().date()));
    QFile file(path);
    const bool fresh = !file.exists() || file.size() == 0;
    if (folder.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        say(t::LogUnwritable.arg(folder.isEmpty() ? path : file.errorString()));
        return {};
    }
    QByteArray out;
    // A byte-order mark, so that the office reads the file as UTF-8.
    if (fresh) out += "\xEF\xBB\xBF" + batch::logHeader().toUtf8() + "\r\n";
    for (const Outcome& o : outcomes) out += batch::logLine(o).toUtf8() + "\r\n";
    if (file.write(out) != out.size() || !file.flush()) {
        say(t::LogUnwritable.arg(file.errorString()));
        return {};
    }
    return path;
}

} // namespace zk::listing
