#include "collect/ItemCollection.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "browser/Texts.h"
#include "collect/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/calc/OfficeProcess.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "workflow/SystemIni.h"
#include "workflow/Pause.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

namespace zk::collect {
namespace {

enum Column { PageColumn = 1, PositionColumn, IdColumn, TitleColumn, UrlColumn, PriceColumn, NextCellColumn, EndTimeColumn };

// The summary sheet: the totals in row 4, the days from row 7 down (date, total, count, average),
// the chart of their totals beside them.
constexpr int SummaryTotalsRow = 4;
constexpr int SummaryDayHeaderRow = 6;
constexpr int SummaryFirstDayRow = 7;
const QRect SummaryChartArea(11000, 500, 16000, 9000); // 1/100 mm: right of the day table

// A failed call may come before the connection has noticed that the office's process is gone;
// the process id reads 0 once it has ended.
bool officeConnected(sheet::TExcel& excel) {
    if (!excel.ExcelApp || !excel.ExcelApp->office().connected()) return false;
    const pid_t pid = excel.ExcelApp->office().processId();
    return pid > 0 && calc::processExists(pid);
}

using workflow::pause;

} // namespace

void ItemCollection::ShuppinCollectionClick() {
    const CollectionList list = collectionList(panel_.collectionMode(), settings_.value(workflow::ini::ShuppinChuuUrl),
                                               settings_.value(workflow::ini::ShuppinEndUrl));
    if (MessageService::instance().show(list.label + texts::CollectQuestion, texts::CollectCaption, Icon::Information,
                                        Buttons::YesNo) != Answer::Yes)
        return;

    // The file goes to the documents folder or nowhere: a folder named but unusable is said.
    QString unusable;
    QString folder = paths::writableDocumentsFolder(unusable);
    if (folder.isEmpty()) {
        MessageService::instance().show(texts::FolderUnusable.arg(unusable), sheet::texts::ErrorCaption,
                                        Icon::Exclamation);
        return;
    }
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);

    workflow::BusyGuard busy(panel_);
    mode_ = list.mode;
    sales_.clear();
    itemBook_.reset();
    file_ = collectionFileName(folder, clock::now().date(), list.label) + QStringLiteral(".xlsx");
    collected_ = written_ = savedRows_ = savedPages_ = 0;
    pending_ = PageRows{};
    officeFailed_ = false;
    saving_.reset();
    // The first page loads while the office starts.
    const bool started = browser_.IE->StartNavigation(list.startAddress) == 0;
    if (!prepareWorkbook(list, folder)) return;

    TIECtrl& ie = *browser_.IE;
    Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
    Walk walk;
    try {
        walk = walkPages(list, started);
    } catch (const AutomationError&) {
        // The session's reads report their errors as results; one that escapes ends the walk
        // at the page it was on all the same (whether the browser went is asked of it below).
        walk = written_ == 0 ? Walk{Walk::FirstPageFailed, 1, -1, {}} : Walk{Walk::PageFailed, written_ + 1, 0, {}};
    }

    // The browser goes back to the list's first page while the rows reach the file (now, not
    // only at the next save of the workbook).
    const bool back = walk.kind != Walk::FirstPageFailed && ie.IsConnected() && ie.StartNavigation(list.startAddress) == 0;
    if (walk.kind != Walk::SaveFailed) {
        QString cause;
        // The sold items' summary only over a whole list: one cut short would sum part of it.
        const bool summary = walk.kind == Walk::Finished && list.mode == CollectionMode::Sold;
        if (!saveRows(cause, summary ? &list : nullptr)) walk = Walk{Walk::SaveFailed, 0, 0, cause};
    }
    const bool browserLost = !ie.IsConnected();
    if (!browserLost && back) waitLoaded(QDeadlineTimer(PageLoadSeconds * 1000));

    // The seller's item workbook is the panel's again; without one, the collection's is, and the
    // panel says which.
    bool itemBookBack = false;
    if (book_.ExcelState == 1) {
        if (itemBook_) itemBookBack = reopenItemBook(*itemBook_);
        else {
            // Its first listing press asks, as after any opening, and is asked first whether the
            // collection's file is to be listed from at all.
            book_.MadeByCollection = true;
            book_.Row.forgetChoice();
        }
    }
    QString progress = texts::ProgressDone.arg(collected_);
    if (book_.ExcelState == 1) progress += texts::OpenBook.arg(QFileInfo(book_.Excel->BookPath).fileName());
    panel_.showProgress(progress);

    busy.ready();
    if (book_.ExcelState == 1) panel_.workbookOpened();
    panel_.bringToFront();
    showEnd(walk, browserLost, itemBookBack);
    if (browserLost) {
        browser_.IEConnected = 0;
        SiteLogin(browser_, settings_, panel_).StartIEClick();
    }
}

void ItemCollection::showEnd(const Walk& walk, bool browserLost, bool itemBookBack) {
    // One message says how the run ended and what the file holds; a lost browser is said in it
    // too, and is started again (and logged in) for the next run.
    QString message = endMessage(walk);
    if (browserLost) message += QStringLiteral("\n\n") + browser::texts::Disconnected;
    MessageService& messages = MessageService::instance();
    if (walk.kind == Walk::SaveFailed) {
        messages.show(message, sheet::texts::ExcelErrorCaption, Icon::Error);
        return;
    }
    if (walk.kind != Walk::Finished || browserLost) {
        messages.show(message);
        return;
    }
    message += texts::SavedAs.arg(QDir::toNativeSeparators(file_));
    if (messages.show(message, QString(), Icon::Information, Buttons::YesNo) != Answer::Yes) return;
    // The collection's workbook open on the panel is shown where it is; one closed again is opened
    // by the desktop's own program for the file, apart from the workbook the panel drives.
    if (!itemBookBack && book_.ExcelState == 1 && book_.Excel->ExcelWindow)
        Desktop::instance().setForeground(book_.Excel->ExcelWindow.get());
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file_)))
        messages.show(texts::CannotShow.arg(QDir::toNativeSeparators(file_)), QString(), Icon::Exclamation);
}

QString ItemCollection::endMessage(const Walk& walk) const {
    switch (walk.kind) {
    case Walk::Finished:
        return texts::Completed;
    case Walk::FirstPageFailed:
        return walk.firstCount == 0 ? texts::WrongPage : texts::BrowserReadFailed;
    case Walk::PageFailed:
        return texts::PageFailed.arg(walk.page) + savedText() + texts::SavedIn.arg(QDir::toNativeSeparators(file_));
    case Walk::SaveFailed:
        // Our own words and the path first; what the office said, if anything, on lines below.
        return texts::SaveFailed.arg(QDir::toNativeSeparators(file_)) + savedText() +
               (walk.cause.isEmpty() ? QString() : texts::OfficeSaid + walk.cause);
    }
    return {};
}

QString ItemCollection::savedText() const {
    return savedPages_ == 0 ? texts::SavedHeadersOnly : texts::SavedPages.arg(savedPages_).arg(savedRows_);
}

bool ItemCollection::prepareWorkbook(const CollectionList& list, const QString& folder) {
    sheet::TExcel& excel = *book_.Excel;
    bool live = false;
    if (book_.ExcelState == 1) {
        live = excel.LiveCheck() == 0;
        if (!live && !officeConnected(excel)) excel.ForgetLostOffice();
    }
    if (!live) {
        if (excel.Startup() != 0) return false;
        book_.ExcelState = 1;
    } else {
        // The seller's own workbook comes back after the run, where the seller was in it.
        if (!book_.MadeByCollection && !excel.BookPath.isEmpty())
            itemBook_ = ItemBookKept{excel.BookPath, excel.SheetName(), book_.Row, book_.LastTitle};
        if (excel.CloseBook() != 0) {
            // The open workbook was saved by the check just before; what failed is only its close.
            MessageService::instance().show(sheet::texts::CloseFailed + excel.LastErrorText,
                                            sheet::texts::ExcelErrorCaption, Icon::Error);
        }
    }
    book_.MadeByCollection = false;
    if (excel.OpenNewBook() != 0) {
        excel.Quit();
        book_.ExcelState = 0;
        return false;
    }
    panel_.bringToFront();
    try {
        excel.SetSheetNo(1);
    } catch (const AutomationError& e) {
        MessageService::instance().show(sheet::texts::WriteFailed + e.text(), sheet::texts::ExcelErrorCaption, Icon::Error);
        return false;
    }
    book_.ExcelState = 1;

    book_.Row.CurrentRow = FirstItemRow;
    // The formats, the title and headers and the file are written beside the walk of the first
    // page, as the first of the office's work, before any row; like the saves of the rows it is
    // awaited before the page after next (page 2) is begun, so that a lost office never leaves an
    // earlier run's file in its place. The name's own failure shows up at the first save of the
    // rows.
    saving_ = Saving{0, 0, 0};
    office_ = std::async(std::launch::async, [&excel, title = list.label + texts::ListTitleSuffix, mode = list.mode,
                                              name = collectionFileName(folder, clock::now().date(), list.label)] {
        // What the site shows is kept as text: a title "1/2" or an ID of digits would otherwise be
        // parsed as typed into numbers and dates. A sold price is a number the seller can total
        // (it is written as one), the end time a date and time.
        const bool sold = mode == CollectionMode::Sold;
        for (int column : {IdColumn, TitleColumn, NextCellColumn})
            excel.SetColProperty(column, texts::NumberFormatLocal, texts::TextFormat);
        excel.SetColProperty(PriceColumn, texts::NumberFormatLocal, sold ? texts::PriceFormat : texts::TextFormat);
        if (sold) excel.SetColProperty(EndTimeColumn, texts::NumberFormatLocal, texts::EndTimeFormat);
        excel.WriteToCell(TitleRow, 1, title);
        const QStringList names = headers(mode);
        excel.WriteRows(HeaderRow, 1, {QVariantList(names.cbegin(), names.cend())});
        excel.SaveAs(name);
        return true;
    });
    return true;
}

int ItemCollection::selectLinks() {
    TIECtrl& ie = *browser_.IE;
    try {
        return ie.SelectByTagName("A");
    } catch (const AutomationError&) {
        return TIECtrl::AutomationFailed;
    }
}

bool ItemCollection::waitLoaded(const QDeadlineTimer& deadline) {
    TIECtrl& ie = *browser_.IE;
    // A page whose connection broke off is left by the browser as it is, idle with a document
    // that never completes: after a short while idle it counts as failed, not as slow.
    QElapsedTimer idle;
    try {
        for (;;) {
            if (ie.IsBusy()) {
                idle.invalidate();
            } else {
                if (ie.Document.get("ReadyState").toString() == QLatin1String("complete")) return true;
                if (!idle.isValid()) idle.start();
                else if (idle.hasExpired(IdleUnfinishedMs)) return false;
            }
            if (deadline.hasExpired()) return false;
            QThread::msleep(5);
            QCoreApplication::processEvents();
        }
    } catch (const AutomationError&) {
        // A failed page, whichever way: the walk asks the browser whether it is still there.
        return false;
    }
}

int ItemCollection::loadPage(const QString& address, bool started) {
    TIECtrl& ie = *browser_.IE;
    const QDeadlineTimer deadline(PageLoadSeconds * 1000);
    for (int attempt = 1;; ++attempt) {
        if (!started) ie.StartNavigation(address);
        started = false;
        int count = -1;
        if (waitLoaded(deadline) && selectLinks() == 0) {
            count = ie.GetListLength();
            if (count > 0) return count;
        }
        const int wait = PageRetryPauseMs * attempt;
        if (!ie.IsConnected() || attempt == PageAttempts || deadline.remainingTime() < wait) return count;
        pause(wait);
    }
}

ItemCollection::Walk ItemCollection::walkPages(const CollectionList& list, bool firstStarted) {
    TIECtrl& ie = *browser_.IE;
    const QString marker = itemPageMarker(settings_.auctionHost());
    int count = loadPage(list.startAddress, firstStarted);
    if (count <= 0) return Walk{Walk::FirstPageFailed, 1, count, {}};
    for (int page = 1;; ++page) {
        if (saving_ && page >= saving_->page + 2 && !awaitOffice())
            return Walk{Walk::SaveFailed, page, 0, officeFailure()};
        showProgress(page);
        PageRows rows;
        readPage(list, page, count, marker, rows);
        // The item reads swallow their errors: a browser lost while the page was read leaves it
        // short, so none of its rows are kept.
        if (!ie.IsConnected()) return Walk{Walk::PageFailed, page, 0, {}};
        if (rows.cells.isEmpty()) return Walk{};
        // The next page loads while the rows go to the workbook.
        const QString next = pageAddress(list.startAddress, page + 1);
        const bool started = ie.StartNavigation(next) == 0;
        keepPage(page, rows);
        if (isSavePage(page, FirstSavePages) && !saveAside(page)) return Walk{Walk::SaveFailed, page, 0, officeFailure()};
        // A later page without a single link is no list page (the site failed it), not the end.
        count = loadPage(next, started);
        if (count <= 0) return Walk{Walk::PageFailed, page + 1, 0, {}};
        QCoreApplication::processEvents();
    }
}

void ItemCollection::readPage(const CollectionList& list, int page, int count, const QString& marker, PageRows& rows) {
    TIECtrl& ie = *browser_.IE;
    rows.firstRow = book_.Row.CurrentRow;
    int position = 1;
    for (int i = 0; i < count; ++i) {
        const QString address = ie.GetItemAttribute(i, QStringLiteral("href"));
        if (!isItemLink(address, marker)) continue;
        const QString title = ie.GetItemText(i);
        if (title.isEmpty()) continue; // a picture link beside the title link

        QVariantList cells{page, position, auctionIdOf(address), title, QVariant()};
        if (list.mode == CollectionMode::Sold) {
            const QVariantList sold = soldCells(ie.GetItemCellTexts(i, cellsRead(list.mode)));
            cells << sold;
            Sale sale;
            if (!sold.isEmpty() && sold[0].typeId() == QMetaType::LongLong) sale.price = sold[0].toLongLong();
            if (sold.size() > 2 && sold[2].typeId() == QMetaType::QDateTime) sale.endedAt = sold[2].toDateTime();
            sales_ << sale;
        }
        rows.cells << cells;
        rows.addresses << address;
        ++position;
    }
}

void ItemCollection::keepPage(int page, const PageRows& rows) {
    if (pending_.cells.isEmpty()) pending_.firstRow = rows.firstRow;
    pending_.cells += rows.cells;
    pending_.addresses += rows.addresses;
    ++pending_.pages;
    book_.Row.CurrentRow += int(rows.cells.size());
    collected_ += int(rows.cells.size());
    written_ = page;
    writeAside();
}

bool ItemCollection::writeBlock(sheet::TExcel& excel, const PageRows& rows) {
    // The cells, then their links, each as one block: calls into the office per cell would cost
    // more than the whole page walk. A failed write keeps its error for the message.
    return rows.cells.isEmpty() || (excel.WriteRows(rows.firstRow, PageColumn, rows.cells) == 0 &&
                                    excel.WriteHyperlinks(rows.firstRow, UrlColumn, rows.addresses) == 0);
}

void ItemCollection::writeAside() {
    using namespace std::chrono_literals;
    if (office_.valid() && office_.wait_for(0s) != std::future_status::ready) return;
    // After a failure the rows wait for the save that reports it.
    if (pending_.pages < BlockPages || !awaitOffice() || pending_.cells.isEmpty()) return;
    office_ = std::async(std::launch::async, [&excel = *book_.Excel, rows = std::move(pending_)] {
        return writeBlock(excel, rows);
    });
    pending_ = PageRows{};
}

bool ItemCollection::saveAside(int page) {
    using namespace std::chrono_literals;
    // A block still being written is not waited for here: the save follows it on the office's
    // side, and the walk goes on.
    std::future<bool> before;
    if (office_.valid() && office_.wait_for(0s) != std::future_status::ready) before = std::move(office_);
    if (!awaitOffice()) return false;
    saving_ = Saving{page, collected_, written_};
    office_ = std::async(std::launch::async,
                         [&excel = *book_.Excel, rows = std::move(pending_), before = std::move(before)]() mutable {
                             return (!before.valid() || before.get()) && writeBlock(excel, rows) && excel.Save() == 0;
                         });
    pending_ = PageRows{};
    return true;
}

bool ItemCollection::awaitOffice() {
    if (office_.valid()) {
        const bool done = office_.get();
        officeFailed_ = officeFailed_ || !done;
        if (done && saving_) {
            savedRows_ = saving_->rows;
            savedPages_ = saving_->pages;
        }
        saving_.reset();
    }
    return !officeFailed_;
}

bool ItemCollection::saveRows(QString& cause, const CollectionList* summary) {
    sheet::TExcel& excel = *book_.Excel;
    bool saved = awaitOffice();
    // A walk that ended right after a save has nothing left to save but its summary.
    QString summaryFailure;
    if (saved && (summary || !(written_ > 0 && savedPages_ == written_ && savedRows_ == collected_))) {
        saved = writeBlock(excel, pending_) && (!summary || writeSummary(*summary, summaryFailure)) && excel.Save() == 0;
        pending_ = PageRows{};
        if (saved) {
            savedRows_ = collected_;
            savedPages_ = written_;
        }
    }
    if (!saved) {
        cause = officeFailure();
        if (!summaryFailure.isEmpty()) cause = summaryFailure;
    }
    return saved;
}

bool ItemCollection::writeSummary(const CollectionList& list, QString& failure) {
    sheet::TExcel& excel = *book_.Excel;
    const SalesSummary summary = summarize(sales_);
    QList<QVariantList> rows{{list.label + texts::SummaryTitleSuffix},
                             {},
                             {texts::SummaryCount, texts::SummaryTotal, texts::SummaryAverage},
                             {summary.all.count, summary.all.total, summary.all.average()},
                             {},
                             {texts::SummaryDay, texts::SummaryTotal, texts::SummaryCount, texts::SummaryAverage}};
    for (const DaySales& day : summary.days)
        rows << QVariantList{day.day.isValid() ? QVariant(day.day) : QVariant(texts::SummaryNoDay), day.line.total,
                             day.line.count, day.line.average()};
    const int lastDay = SummaryFirstDayRow + int(summary.days.size()) - 1;
    bool done = excel.AddSheet(texts::SummarySheet) == 0 && excel.WriteRows(1, 1, rows) == 0 &&
                excel.SetRangeFormat(SummaryTotalsRow, 2, SummaryTotalsRow, 3, texts::PriceFormat) == 0;
    if (done && !summary.days.isEmpty()) {
        done = excel.SetRangeFormat(SummaryFirstDayRow, 1, lastDay, 1, texts::DayFormat) == 0 &&
               excel.SetRangeFormat(SummaryFirstDayRow, 2, lastDay, 2, texts::PriceFormat) == 0 &&
               excel.SetRangeFormat(SummaryFirstDayRow, 4, lastDay, 4, texts::PriceFormat) == 0 &&
               excel.AddColumnChart(texts::SummaryChart, SummaryDayHeaderRow, 1, lastDay, 2, SummaryChartArea) == 0;
    }
    // The list's sheet stays the one written to and shown.
    try {
        excel.SetSheetNo(1);
    } catch (const AutomationError& e) {
        if (done) failure = e.text();
        done = false;
    }
    return done;
}

bool ItemCollection::reopenItemBook(const ItemBookKept& kept) {
    sheet::TExcel& excel = *book_.Excel;
    MessageService& messages = MessageService::instance();
    if (excel.CloseBook() != 0) {
        messages.show(sheet::texts::CloseFailed + excel.LastErrorText, sheet::texts::ExcelErrorCaption, Icon::Error);
        book_.MadeByCollection = true;
        return false;
    }
    if (excel.OpenFile(kept.path) != 0) {
        // The office holds no workbook now: it is ended, as when the EXCEL button fails to open one.
        messages.show(texts::ReopenFailed.arg(QDir::toNativeSeparators(kept.path)) + excel.LastErrorText,
                      sheet::texts::ExcelErrorCaption, Icon::Exclamation);
        if (excel.Quit() != 0) excel.Abandon();
        book_.ExcelState = 0;
        return false;
    }
    // The sheet the seller worked on, else the first.
    if (kept.sheet.isEmpty() || excel.SetSheetByName(kept.sheet) != 0) {
        try {
            excel.SetSheetNo(1);
        } catch (const AutomationError&) {
            // A workbook without a sheet: the next use of a cell says so.
        }
    }
    book_.Row = kept.row;
    book_.LastTitle = kept.lastTitle;
    return true;
}

QString ItemCollection::officeFailure() {
    sheet::TExcel& excel = *book_.Excel;
    const QString cause = excel.LastErrorText;
    if (!officeConnected(excel)) {
        excel.ForgetLostOffice();
        book_.ExcelState = 0;
    }
    return cause;
}

void ItemCollection::showProgress(int page) {
    panel_.showProgress(texts::Progress.arg(page).arg(collected_));
    QCoreApplication::processEvents();
}

} // namespace zk::collect
