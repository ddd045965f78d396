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

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace zk::collect {
namespace {

enum Column { PageColumn = 1, PositionColumn, IdColumn, TitleColumn, UrlColumn, PriceColumn, NextCellColumn };

// A failed call may come before the connection has noticed that the office's process is gone;
// the process id reads 0 once it has ended.
bool officeConnected(sheet::TExcel& excel) {
    if (!excel.ExcelApp || !excel.ExcelApp->office().connected()) return false;
    const pid_t pid = excel.ExcelApp->office().processId();
    return pid > 0 && calc::processExists(pid);
}

void keepError(TIECtrl& ie, const AutomationError& e) {
    ie.LastError = int32_t(e.code());
    ie.LastErrorText = e.text();
}

// Waits with the events served, as every wait of the panel does.
void pause(int ms) {
    const QDeadlineTimer until(ms);
    while (!until.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

} // namespace

void ItemCollection::ShuppinCollectionClick() {
    const CollectionList list = collectionList(panel_.collectionMode(), settings_.value(workflow::ini::ShuppinChuuUrl),
                                               settings_.value(workflow::ini::ShuppinEndUrl));
    if (MessageService::instance().show(list.label + texts::CollectQuestion, texts::CollectCaption, Icon::Information,
                                        Buttons::YesNo) != Answer::Yes)
        return;

    workflow::BusyGuard busy(panel_);
    collected_ = written_ = savedRows_ = savedPages_ = 0;
    pending_ = PageRows{};
    officeFailed_ = false;
    saving_.reset();
    // The first page loads while the office starts.
    const bool started = browser_.IE->StartNavigation(list.startAddress) == 0;
    if (!prepareWorkbook(list)) return;

    TIECtrl& ie = *browser_.IE;
    Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
    Walk walk;
    try {
        walk = walkPages(list, started);
    } catch (const AutomationError& e) {
        // The session's reads report their errors as results; one that escapes ends the walk
        // at the page it was on all the same.
        keepError(ie, e);
        walk = written_ == 0 ? Walk{Walk::FirstPageFailed, 1, -1, {}} : Walk{Walk::PageFailed, written_ + 1, 0, {}};
    }

    // The browser goes back to the list's first page while the rows reach the file (now, not
    // only at the next save of the workbook).
    const bool back = walk.kind != Walk::FirstPageFailed && ie.IsConnected() && ie.StartNavigation(list.startAddress) == 0;
    if (walk.kind != Walk::SaveFailed) {
        QString cause;
        if (!saveRows(cause)) walk = Walk{Walk::SaveFailed, 0, 0, cause};
    }
    const bool browserLost = !ie.IsConnected();
    if (!browserLost && back) waitLoaded(QDeadlineTimer(PageLoadSeconds * 1000));
    panel_.showProgress(texts::ProgressDone.arg(collected_));

    busy.ready();
    if (book_.ExcelState == 1) panel_.workbookOpened();
    panel_.bringToFront();
    // One message says how the run ended and what the file holds; a lost browser is said in it
    // too, and is started again (and logged in) for the next run.
    QString message = endMessage(walk);
    if (browserLost) message += QStringLiteral("\n\n") + browser::texts::Disconnected;
    if (walk.kind == Walk::SaveFailed)
        MessageService::instance().show(message, sheet::texts::ExcelErrorCaption, Icon::Error);
    else
        MessageService::instance().show(message);
    if (browserLost) {
        browser_.IEConnected = 0;
        SiteLogin(browser_, settings_, panel_).StartIEClick();
    }
}

QString ItemCollection::endMessage(const Walk& walk) const {
    switch (walk.kind) {
    case Walk::Finished:
        return texts::Completed;
    case Walk::FirstPageFailed:
        return walk.firstCount == 0 ? texts::WrongPage : texts::BrowserReadFailed;
    case Walk::PageFailed:
        return texts::PageFailed.arg(walk.page) + savedText();
    case Walk::SaveFailed:
        return texts::SaveFailed + savedText() + QStringLiteral("\n\n") + walk.cause;
    }
    return {};
}

QString ItemCollection::savedText() const {
    return savedPages_ == 0 ? texts::SavedHeadersOnly : texts::SavedPages.arg(savedPages_).arg(savedRows_);
}

bool ItemCollection::prepareWorkbook(const CollectionList& list) {
    sheet::TExcel& excel = *book_.Excel;
    bool live = false;
    if (book_.ExcelState == 1) {
        live = excel.LiveCheck() == 0;
        if (!live && !officeConnected(excel)) excel.ForgetLostOffice();
    }
    if (!live) {
        if (excel.Startup() != 0) return false;
        book_.ExcelState = 1;
    } else if (excel.CloseBook() != 0) {
        // The open workbook was saved by the check just before; what failed is only its close.
        MessageService::instance().show(sheet::texts::CloseFailed + excel.LastErrorText, sheet::texts::ExcelErrorCaption,
                                        Icon::Error);
    }
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
    QString folder = fallbackFolder();
    paths::GetSpecialFolder(paths::PersonalFolder, folder);
    // The formats, the title and headers and the file are written beside the walk of the first
    // page, as the first of the office's work, before any row; like the saves of the rows it is
    // awaited before the page after next (page 2) is begun, so that a lost office never leaves an
    // earlier run's file in its place. The name's own failure shows up at the first save of the
    // rows.
    saving_ = Saving{0, 0, 0};
    office_ = std::async(std::launch::async, [&excel, title = list.label + texts::ListTitleSuffix,
                                              name = collectionFileName(folder, clock::now().date(), list.label)] {
        // What the site shows is kept as text: a price "1,500", a title "1/2" or an ID of digits
        // would otherwise be parsed as typed into numbers and dates.
        for (int column : {IdColumn, TitleColumn, PriceColumn, NextCellColumn})
            excel.SetColProperty(column, texts::NumberFormatLocal, texts::TextFormat);
        excel.WriteToCell(TitleRow, 1, title);
        const QString headers[] = {texts::HeaderPage, texts::HeaderPosition, texts::HeaderId, texts::HeaderTitle,
                                   texts::HeaderUrl};
        for (int c = 0; c < 5; ++c) excel.WriteToCell(HeaderRow, c + 1, headers[c]);
        excel.SaveAs(name);
        return true;
    });
    return true;
}

int ItemCollection::selectLinks() {
    TIECtrl& ie = *browser_.IE;
    try {
        return ie.SelectByTagName("A");
    } catch (const AutomationError& e) {
        keepError(ie, e);
        return -99;
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
    } catch (const AutomationError& e) {
        keepError(ie, e);
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
            QString price, next;
            const int found = ie.GetItemCellTexts(i, price, next);
            if (found >= 1) cells << cutYen(price);
            if (found == 2) cells << next;
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

bool ItemCollection::saveRows(QString& cause) {
    sheet::TExcel& excel = *book_.Excel;
    bool saved = awaitOffice();
    // A walk that ended right after a save has nothing left to save.
    if (saved && !(written_ > 0 && savedPages_ == written_ && savedRows_ == collected_)) {
        saved = writeBlock(excel, pending_) && excel.Save() == 0;
        pending_ = PageRows{};
        if (saved) {
            savedRows_ = collected_;
            savedPages_ = written_;
        }
    }
    if (!saved) cause = officeFailure();
    return saved;
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
