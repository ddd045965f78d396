#include "ColumnPrompts.h"

#include "PromptTexts.h"

#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"

#include <QGuiApplication>
#include <QScreen>

namespace zk::collect {

namespace {

int screenHeight() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry().height();
    return Desktop::instance().workArea().bottom() + 1;
}

} // namespace

int ColumnPrompts::RowPrompt() {
    sheet::TExcel& excel = host_.Excel();
    sheet::WorkbookFields f = host_.Fields();
    // The panel moves below the screen so that the user sees the spreadsheet.
    const int top = host_.MainTop();
    host_.SetMainTop(screenHeight());
    const Answer answer = MessageService::instance().show(texts::RowPrompt, texts::RowPromptCaption,
                                                          Icon::Information, Buttons::OkCancel);
    if (answer != Answer::Ok) {
        host_.SetMainTop(top);
        return -1;
    }
    if (!excel.SetActiveSheet()) {
        MessageService::instance().show(texts::SheetFailure);
        host_.SetMainTop(top);
        return -1;
    }
    f.CurrentRow = f.FirstRow = excel.GetRowNumber();
    f.NameColumn = 2;
    excel.SetColProperty(1, texts::NumberFormatLocal, texts::TextFormat);
    excel.SetColProperty(3, texts::NumberFormatLocal, texts::TextFormat);
    f.RowChosen = 1;
    host_.SetMainTop(top);
    f.LastTitle.clear();
    f.ResultColumn = 1;
    return 0;
}

void ColumnPrompts::PricePrompt() {
    sheet::WorkbookFields f = host_.Fields();
    f.PriceColumn = FindHeaderColumn(texts::StartPriceHeader);
    if (f.PriceColumn != 0) return;
    const Answer answer = MessageService::instance().show(texts::PricePrompt, texts::PricePromptCaption,
                                                          Icon::Information, Buttons::OkCancel);
    f.PriceColumn = answer == Answer::Ok ? host_.Excel().GetColNumber() : 0;
}

int ColumnPrompts::FindHeaderColumn(const QString& text) {
    sheet::TExcel& excel = host_.Excel();
    for (int column = 1; column <= HeaderColumns; ++column)
        if (sheet::TExcel::ToText(excel.ReadCell(1, column)) == text) return column;
    return 0;
}

void ColumnPrompts::SelectRowClick() {
    sheet::TExcel& excel = host_.Excel();
    sheet::WorkbookFields f = host_.Fields();
    // A prompt in a spreadsheet that has gone could never be answered: say so instead.
    if (f.ExcelState != 1 || excel.LiveCheck() != 0) {
        excel.ForgetLostOffice();
        f.ExcelState = 0;
        MessageService::instance().show(sheet::texts::StartFirst);
        return;
    }
    DesktopWindow* window = excel.ExcelWindow.get();
    const QRect area = Desktop::instance().workArea();
    if (window) window->setPlacement(QRect(1, 1, area.width(), area.height()));
    Desktop::instance().setForeground(window);
    sheet::Pause(50);
    if (RowPrompt() == 0) PricePrompt();
    host_.RestoreWindowPlacement(window, sheet::texts::PlacementName);
}

} // namespace zk::collect
