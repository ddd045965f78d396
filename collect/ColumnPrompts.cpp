#include "collect/ColumnPrompts.h"

#include "collect/Texts.h"

#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "sheet/WorkbookSession.h"
#include "workflow/Pause.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace zk::collect {

namespace {

int screenHeight() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry().height();
    return Desktop::instance().workArea().bottom() + 1;
}

// A prompt that waits for a click in the office's window stays above it; when it closes, the
// panel comes back above the office too.
class AboveTheOffice {
public:
    explicit AboveTheOffice(workflow::Panel& panel) : panel_(panel) { MessageService::instance().setKeptAbove(true); }
    ~AboveTheOffice() {
        MessageService::instance().setKeptAbove(false);
        panel_.bringToFront();
    }

private:
    workflow::Panel& panel_;
};

} // namespace

int ColumnPrompts::RowPrompt() {
    sheet::TExcel& excel = *book_.Excel;
    // A collection's workbook becomes an item workbook only when the seller says so: the prompt
    // formats its columns, and the next collection would save that without a word.
    if (book_.MadeByCollection) {
        const QString name = QFileInfo(excel.BookPath).fileName();
        if (MessageService::instance().show(texts::CollectionBookQuestion.arg(name), texts::CollectCaption,
                                            Icon::Question, Buttons::YesNo) != Answer::Yes)
            return -1;
        book_.MadeByCollection = false;
    }
    // The panel moves below the screen so that the user sees the spreadsheet.
    const int top = panel_.top();
    panel_.setTop(screenHeight());
    const AboveTheOffice above(panel_);
    const Answer answer = MessageService::instance().show(texts::RowPrompt, texts::RowPromptCaption,
                                                          Icon::Information, Buttons::OkCancel);
    if (answer != Answer::Ok) {
        panel_.setTop(top);
        return -1;
    }
    if (!excel.SetActiveSheet()) {
        MessageService::instance().show(texts::SheetFailure);
        panel_.setTop(top);
        return -1;
    }
    book_.Row.choose(excel.GetRowNumber());
    excel.SetColProperty(workflow::column::AuctionId, texts::NumberFormatLocal, texts::TextFormat);
    excel.SetColProperty(workflow::column::ListedAt, texts::NumberFormatLocal, texts::TextFormat);
    panel_.setTop(top);
    book_.LastTitle.clear();
    return 0;
}

void ColumnPrompts::PricePrompt() {
    workflow::RowCursor& row = book_.Row;
    row.PriceColumn = FindHeaderColumn(texts::StartPriceHeader);
    if (row.PriceColumn != 0) return;
    const AboveTheOffice above(panel_);
    const Answer answer = MessageService::instance().show(texts::PricePrompt, texts::PricePromptCaption,
                                                          Icon::Information, Buttons::OkCancel);
    row.PriceColumn = answer == Answer::Ok ? book_.Excel->GetColNumber() : 0;
}

int ColumnPrompts::FindHeaderColumn(const QString& text) {
    for (int column = 1; column <= HeaderColumns; ++column) {
        QString header;
        book_.Workbook->ReadCellText(workflow::HeaderRow, column, header, sheet::WorkbookSession::Failure::Quiet);
        if (header == text) return column;
    }
    return 0;
}

void ColumnPrompts::SelectRowClick() {
    sheet::TExcel& excel = *book_.Excel;
    // A prompt in a spreadsheet that has gone could never be answered: say so instead.
    if (book_.ExcelState != 1 || excel.LiveCheck() != 0) {
        excel.ForgetLostOffice();
        book_.ExcelState = 0;
        MessageService::instance().show(sheet::texts::StartFirst);
        return;
    }
    DesktopWindow* window = excel.ExcelWindow.get();
    const QRect area = Desktop::instance().workArea();
    if (window) window->setPlacement(QRect(1, 1, area.width(), area.height()));
    Desktop::instance().setForeground(window);
    workflow::pause(50);
    if (RowPrompt() == 0) PricePrompt();
    panel_.restorePlacement(window, sheet::texts::PlacementName);
}

} // namespace zk::collect
