#include "sheet/WorkbookSession.h"

#include "sheet/Excel.h"
#include "sheet/Texts.h"

#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/KeySender.h"
#include "workflow/Pause.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zk::sheet {

namespace {

// How often a step refused because a cell is being edited is repaired and tried again: a cell
// that stays in edit mode after that is not left by a Tab, and asking forever would hang us.
constexpr int MaxEditModeRepairs = 5;

bool isWorkbookName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toUpper();
    return suffix == QLatin1String("XLS") || suffix == QLatin1String("XLSX");
}

} // namespace

QString WorkbookSession::ChooseWorkbook(const QString& folder) {
    MessageService& messages = MessageService::instance();
    for (;;) {
        const QString path = messages.openFileName(texts::OpenDialogCaption, folder, texts::FileFilter);
        if (path.isEmpty()) return {};
        if (!isWorkbookName(path)) {
            messages.show(path + texts::NotAWorkbook, texts::ErrorCaption, Icon::Exclamation);
            continue;
        }
        if (!QFileInfo(path).isFile()) {
            messages.show(path + texts::NoSuchFile, texts::ErrorCaption, Icon::Exclamation);
            continue;
        }
        return path;
    }
}

void WorkbookSession::StartExcelClick() {
    TExcel& excel = *book_.Excel;
    workflow::BusyGuard busy(panel_);
    const QString excelDir = settings_.excelDir();
    // The program's own files are found from the current folder, which a file dialog may move.
    const QString programFolder = QDir::currentPath();
    const QString path = ChooseWorkbook(excelDir);
    if (path.isEmpty()) return;
    book_.Row.forgetChoice();
    book_.MadeByCollection = false;

    if (book_.ExcelState == 0 || excel.LiveCheck() != 0) {
        if (excel.Startup() != 0) return;
        book_.ExcelState = 1;
    } else {
        excel.CloseBook(); // the running spreadsheet is reused
    }

    if (excel.OpenFile(path) != 0) {
        // The cause is shown, and the spreadsheet that holds no workbook is ended: a quit
        // would first try to save a workbook that is not there and leave it running.
        const QString cause = excel.LastErrorText;
        if (!cause.isEmpty())
            MessageService::instance().show(texts::OpenFailed + cause, texts::ExcelErrorCaption, Icon::Exclamation);
        if (excel.Quit() != 0) excel.Abandon();
        book_.ExcelState = 0;
        return;
    }

    book_.ExcelState = 1;
    excel.SetEditInCellProperty(false);
    if (excel.GetWindowState() != calc::windowstate::Normal) excel.SetWindowStateNormal();
    const QRect area = Desktop::instance().workArea();
    if (excel.ExcelWindow) excel.ExcelWindow->setPlacement(QRect(1, 1, area.width(), area.height()));

    book_.Columns->RowPrompt();
    if (book_.Row.RowChosen == 1) book_.Columns->PricePrompt();
    panel_.restorePlacement(excel.ExcelWindow.get(), texts::PlacementName);
    QDir::setCurrent(programFolder);

    // Ready before the workbook controls are switched on: they keep the states set here.
    busy.ready();
    panel_.workbookOpened();

    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    if (folder != excelDir) settings_.writeExcelDir(folder);
}

void WorkbookSession::CloseExcelClick() {
    TExcel& excel = *book_.Excel;
    if (book_.ExcelState != 1) {
        book_.ExcelState = 0;
        return;
    }
    panel_.savePlacement(excel.ExcelWindow.get(), texts::PlacementName);

    // Each step is repeated while the spreadsheet refuses it because a cell is being edited.
    auto untilDone = [&](auto step) {
        for (int repairs = 0;; ++repairs) {
            if (step() == 0) return true;
            panel_.bringToFront();
            if (excel.LastError == hresult::CallRejected && repairs < MaxEditModeRepairs) {
                RepairEditMode();
                continue;
            }
            MessageService::instance().show(texts::CloseFailed + excel.LastErrorText, texts::ExcelErrorCaption,
                                            Icon::Exclamation);
            return false;
        }
    };
    if (!untilDone([&] { return excel.SetEditInCellProperty(true); })) return;
    if (!untilDone([&] { return excel.Quit(); })) return;
    workflow::pause(500);
    book_.ExcelState = 0;
    book_.MadeByCollection = false;
}

template <class Read>
bool WorkbookSession::readOne(QString& text, Failure failure, Read read) {
    TExcel& excel = *book_.Excel;
    for (int repairs = 0;; ++repairs) {
        text = read(excel);
        if (failure == Failure::Quiet) return excel.LastError == 0;
        if (excel.LastError == hresult::CallRejected && repairs < MaxEditModeRepairs) {
            panel_.bringToFront();
            RepairEditMode();
            continue;
        }
        if (excel.LastError == 0) return true;
        ReportCellError(texts::ReadFailed);
        return false;
    }
}

bool WorkbookSession::ReadCellText(int row, int column, QString& text, Failure failure) {
    return readOne(text, failure, [&](TExcel& excel) { return TExcel::ToText(excel.ReadCell(row, column)); });
}

bool WorkbookSession::ReadShownText(int row, int column, QString& text, Failure failure) {
    return readOne(text, failure, [&](TExcel& excel) { return excel.ReadShownText(row, column); });
}

bool WorkbookSession::ReadBlock(int firstRow, int firstColumn, int lastRow, int lastColumn, QList<QStringList>& out,
                                QList<QStringList>* shown) {
    TExcel& excel = *book_.Excel;
    for (int repairs = 0;; ++repairs) {
        if (excel.ReadTexts(firstRow, firstColumn, lastRow, lastColumn, out, shown) == 0) return true;
        if (excel.LastError == hresult::CallRejected && repairs < MaxEditModeRepairs) {
            panel_.bringToFront();
            RepairEditMode();
            continue;
        }
        ReportCellError(texts::ReadFailed);
        return false;
    }
}

bool WorkbookSession::WriteCellText(int row, int column, const QString& text, Failure failure) {
    TExcel& excel = *book_.Excel;
    for (int repairs = 0;; ++repairs) {
        if (excel.WriteToCell(row, column, text) == 0) return true;
        if (failure == Failure::Quiet) return false;
        if (excel.LastError == hresult::CallRejected && repairs < MaxEditModeRepairs) {
            panel_.bringToFront();
            RepairEditMode();
            continue;
        }
        if (excel.LastError == 0) return true;
        ReportCellError(texts::WriteFailed);
        return false;
    }
}

QString WorkbookSession::NextTitle() {
    QString title;
    ReadCellText(book_.Row.CurrentRow, book_.Row.NameColumn, title, Failure::Quiet);
    return title;
}

void WorkbookSession::ReportCellError(const QString& prefix) {
    panel_.bringToFront();
    MessageService::instance().show(prefix + book_.Excel->LastErrorText + texts::RestartAdvice,
                                    texts::ExcelErrorCaption, Icon::Exclamation);
}

void WorkbookSession::RepairEditMode() {
    MessageService::instance().show(texts::EditModeRepair, texts::EditModeCaption, Icon::Exclamation);
    Desktop::instance().setForeground(book_.Excel->ExcelWindow.get());
    workflow::pause(100);
    if (browser_.Keys) browser_.Keys->SendKeys(QStringLiteral("{TAB}"));
    workflow::pause(100);
}

} // namespace zk::sheet
