#include "sheet/WorkbookSession.h"

#include "sheet/Excel.h"
#include "sheet/Texts.h"

#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/KeySender.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

namespace zk::sheet {

void Pause(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
}

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
    TExcel& excel = *shared_.Excel;
    workflow::BusyGuard busy(panel_);
    const QString excelDir = shared_.Settings.excelDir();
    const QString path = ChooseWorkbook(excelDir);
    if (path.isEmpty()) return;
    shared_.Row.forgetChoice();

    if (shared_.ExcelState == 0 || excel.LiveCheck() != 0) {
        if (excel.Startup() != 0) return;
        shared_.ExcelState = 1;
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
        shared_.ExcelState = 0;
        return;
    }

    shared_.ExcelState = 1;
    excel.SetEditInCellProperty(false);
    if (excel.GetWindowState() != calc::windowstate::Normal) excel.SetWindowStateNormal();
    const QRect area = Desktop::instance().workArea();
    if (excel.ExcelWindow) excel.ExcelWindow->setPlacement(QRect(1, 1, area.width(), area.height()));

    shared_.Columns->RowPrompt();
    if (shared_.Row.RowChosen == 1) shared_.Columns->PricePrompt();
    panel_.restorePlacement(excel.ExcelWindow.get(), texts::PlacementName);
    QDir::setCurrent(shared_.ExeFolder);

    // Ready before the workbook controls are switched on: they keep the states set here.
    busy.ready();
    panel_.workbookOpened();

    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    if (folder != excelDir) shared_.Settings.writeExcelDir(folder);
}

void WorkbookSession::CloseExcelClick() {
    TExcel& excel = *shared_.Excel;
    if (shared_.ExcelState != 1) {
        shared_.ExcelState = 0;
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
    Pause(500);
    shared_.ExcelState = 0;
}

bool WorkbookSession::ReadCellText(int row, int column, QString& text) {
    TExcel& excel = *shared_.Excel;
    for (int repairs = 0;; ++repairs) {
        text.clear();
        text = TExcel::ToText(excel.ReadCell(row, column));
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

bool WorkbookSession::WriteCellText(int row, int column, const QString& text) {
    TExcel& excel = *shared_.Excel;
    for (int repairs = 0;; ++repairs) {
        if (excel.WriteToCell(row, column, text) == 0) return true;
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

void WorkbookSession::ReportCellError(const QString& prefix) {
    panel_.bringToFront();
    MessageService::instance().show(prefix + shared_.Excel->LastErrorText + texts::RestartAdvice,
                                    texts::ExcelErrorCaption, Icon::Exclamation);
}

void WorkbookSession::RepairEditMode() {
    MessageService::instance().show(texts::EditModeRepair, texts::EditModeCaption, Icon::Exclamation);
    Desktop::instance().setForeground(shared_.Excel->ExcelWindow.get());
    Pause(100);
    if (shared_.Keys) shared_.Keys->SendKeys(QStringLiteral("{TAB}"));
    Pause(100);
}

} // namespace zk::sheet
