#include "collect/ItemCollection.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
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

namespace zk::collect {
namespace {

enum Column { PageColumn = 1, PositionColumn, IdColumn, TitleColumn, UrlColumn, PriceColumn, NextCellColumn };

// A failed call may come before the connection has noticed that the office's process is gone.
bool officeConnected(sheet::TExcel& excel) {
    if (!excel.ExcelApp || !excel.ExcelApp->office().connected()) return false;
    const pid_t pid = excel.ExcelApp->office().processId();
    return pid <= 0 || calc::processExists(pid);
}

void keepError(TIECtrl& ie, const AutomationError& e) {
    ie.LastError = int32_t(e.code());
    ie.LastErrorText = e.text();
}

} // namespace

void ItemCollection::ShuppinCollectionClick() {
    const CollectionList list = collectionList(panel_.collectionMode(), shared_.Settings.value(workflow::ini::ShuppinChuuUrl),
                                               shared_.Settings.value(workflow::ini::ShuppinEndUrl));
    if (MessageService::instance().show(list.label + texts::CollectQuestion, texts::CollectCaption, Icon::Information,
                                        Buttons::YesNo) != Answer::Yes)
        return;

    workflow::BusyGuard busy(panel_);
    collected_ = 0;
    writeFailed_ = false;
    if (!prepareWorkbook(list)) return;

    TIECtrl& ie = *shared_.IE;
    Desktop::instance().setForeground(TIECtrl::WindowOf(shared_.IEWindow));
    ie.NavigateWait(list.startAddress);
    try {
        ie.WaitComplete(10);
    } catch (const AutomationError& e) {
        keepError(ie, e); // the selection below fails the same way and reports it
    }

    // The first page: a browser that cannot be read, or a page without links, ends the run
    // with the new workbook open and its headers saved.
    int browserResult = selectLinks();
    Walk walk = Walk::Finished;
    bool firstPageFailed = false;
    if (browserResult != 0) {
        MessageService::instance().show(texts::BrowserReadFailed);
        firstPageFailed = true;
    } else {
        const int count = ie.GetListLength();
        if (count <= 0) {
            MessageService::instance().show(count == 0 ? texts::WrongPage : texts::BrowserReadFailed);
            firstPageFailed = true;
        } else {
            walk = walkPages(list, browserResult);
        }
    }

    // The rows reach the file now, not only at the next save of the workbook.
    if (walk != Walk::SaveFailed && !saveRows()) walk = Walk::SaveFailed;
    if (!firstPageFailed && walk != Walk::BrowserFailed) ie.NavigateWait(list.startAddress);
    panel_.showProgress(texts::ProgressDone.arg(collected_));

    busy.ready();
    if (shared_.ExcelState == 1) panel_.workbookOpened();
    panel_.bringToFront();
    if (!firstPageFailed && walk != Walk::SaveFailed) MessageService::instance().show(texts::Completed);
    // A browser that went away is brought back (started and logged in) for the next run.
    if (browserResult != 0 && ie.LastError != 0) SiteLogin(shared_, panel_).ReconnectRule(browserResult);
}

bool ItemCollection::prepareWorkbook(const CollectionList& list) {
    sheet::TExcel& excel = *shared_.Excel;
    bool live = false;
    if (shared_.ExcelState == 1) {
        live = excel.LiveCheck() == 0;
        if (!live && !officeConnected(excel)) excel.ForgetLostOffice();
    }
    if (!live) {
        if (excel.Startup() != 0) return false;
        shared_.ExcelState = 1;
    } else if (excel.CloseBook() != 0) {
        // The open workbook was saved by the check just before; what failed is only its close.
        MessageService::instance().show(sheet::texts::CloseFailed + excel.LastErrorText, sheet::texts::ExcelErrorCaption,
                                        Icon::Error);
    }
    if (excel.OpenNewBook() != 0) {
        excel.Quit();
        shared_.ExcelState = 0;
        return false;
    }
    panel_.bringToFront();
    try {
        excel.SetSheetNo(1);
    } catch (const AutomationError& e) {
        MessageService::instance().show(sheet::texts::WriteFailed + e.text(), sheet::texts::ExcelErrorCaption, Icon::Error);
        return false;
    }
    shared_.ExcelState = 1;

    // What the site shows is kept as text: a price "1,500", a title "1/2" or an ID of digits
    // would otherwise be parsed as typed into numbers and dates.
    for (int column : {IdColumn, TitleColumn, PriceColumn, NextCellColumn})
        excel.SetColProperty(column, texts::NumberFormatLocal, texts::TextFormat);
    excel.WriteToCell(TitleRow, 1, list.label + texts::ListTitleSuffix);
    const QString headers[] = {texts::HeaderPage, texts::HeaderPosition, texts::HeaderId, texts::HeaderTitle,
                               texts::HeaderUrl};
    for (int c = 0; c < 5; ++c) excel.WriteToCell(HeaderRow, c + 1, headers[c]);
    shared_.Row.CurrentRow = FirstItemRow;

    QString folder = fallbackFolder();
    paths::GetSpecialFolder(paths::PersonalFolder, folder);
    // The name's own failure shows up at the first save of the rows.
    excel.SaveAs(collectionFileName(folder, clock::now().date(), list.label));
    return true;
}

int ItemCollection::selectLinks() {
    TIECtrl& ie = *shared_.IE;
    try {
        return ie.SelectByTagName("A");
    } catch (const AutomationError& e) {
        keepError(ie, e);
        return -99;
    }
}

ItemCollection::Walk ItemCollection::walkPages(const CollectionList& list, int& browserResult) {
    TIECtrl& ie = *shared_.IE;
    const QString marker = itemPageMarker(shared_.Settings.auctionHost());
    int count = ie.GetListLength();
    for (int page = 1;; ++page) {
        showProgress(page);
        PageRows rows;
        if (!readPage(list, page, count, marker, rows)) {
            // The item reads swallow their errors: a browser lost while the page was read looks
            // like a page without items until it is asked once more.
            if (ie.IsConnected()) return Walk::Finished;
            browserResult = selectLinks();
            if (browserResult == 0) browserResult = -1;
            MessageService::instance().show(texts::BrowserReadFailed);
            return Walk::BrowserFailed;
        }
        // The next page loads while this one's rows go to the workbook.
        const bool loading = ie.StartNavigation(pageAddress(list.startAddress, page + 1)) == 0;
        writePage(rows);
        if (writeFailed_ || page % SaveEveryPages == 0) {
            if (!saveRows()) return Walk::SaveFailed;
        }
        if (loading) {
            try {
                ie.WaitComplete(60);
            } catch (const AutomationError& e) {
                keepError(ie, e); // the selection below fails the same way and reports it
            }
        }
        browserResult = selectLinks();
        if (browserResult != 0) {
            MessageService::instance().show(texts::BrowserReadFailed);
            return Walk::BrowserFailed;
        }
        count = ie.GetListLength();
        // A later page without a single link is no list page (the site failed it), not the end.
        if (count == 0) {
            MessageService::instance().show(texts::BrowserReadFailed);
            return Walk::Finished;
        }
        if (count < 0) return Walk::Finished;
        QCoreApplication::processEvents();
    }
}

bool ItemCollection::readPage(const CollectionList& list, int page, int count, const QString& marker, PageRows& rows) {
    TIECtrl& ie = *shared_.IE;
    int& row = shared_.Row.CurrentRow;
    rows.firstRow = row;
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
        ++row;
        ++position;
        ++collected_;
    }
    return !rows.cells.isEmpty();
}

void ItemCollection::writePage(const PageRows& rows) {
    // One call for the page's cells, then their links: a call into the office per cell would
    // cost more than the whole page walk.
    sheet::TExcel& excel = *shared_.Excel;
    if (rows.cells.isEmpty()) return;
    if (excel.WriteRows(rows.firstRow, PageColumn, rows.cells) != 0) writeFailed_ = true;
    for (int k = 0; k < rows.addresses.size(); ++k)
        if (excel.WriteToHyperlinkCell(rows.firstRow + k, UrlColumn, rows.addresses[k]) != 0) writeFailed_ = true;
}

bool ItemCollection::saveRows() {
    sheet::TExcel& excel = *shared_.Excel;
    writeFailed_ = false;
    if (excel.LiveCheck() == 0) return true;
    const QString cause = excel.LastErrorText;
    if (!officeConnected(excel)) {
        excel.ForgetLostOffice();
        shared_.ExcelState = 0;
    }
    MessageService::instance().show(texts::SaveFailed + cause, sheet::texts::ExcelErrorCaption, Icon::Error);
    return false;
}

void ItemCollection::showProgress(int page) {
    panel_.showProgress(texts::Progress.arg(page).arg(collected_));
    QCoreApplication::processEvents();
}

} // namespace zk::collect
