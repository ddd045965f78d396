#pragma once
// What the workbook session, the column prompts and the title undo need from the main window:
// its workbook state fields and a few of its shared operations. The main window implements
// this interface over its own members.
#include <QString>

namespace zk {
class DesktopWindow;
}

namespace zk::sheet {

class TExcel;

// The main window's workbook fields, by reference.
struct WorkbookFields {
    int& ExcelState;   // 0 no workbook driven, 1 started and a workbook opened
    int& CurrentRow;   // row of the next item
    int& FirstRow;     // first item row chosen by the user
    int& NameColumn;   // title column, 2 once a row was chosen
    int& PriceColumn;  // -1 not asked, 0 none, n start price in n and buy-now price in n + 1
    int& ResultColumn; // column of the auction ID, 1 once a row was chosen
    int& RowChosen;    // 1 once the row prompt chose a row
    QString& LastTitle;
};

class WorkbookHost {
public:
    virtual ~WorkbookHost() = default;

    virtual TExcel& Excel() = 0;
    virtual WorkbookFields Fields() = 0;
    virtual QString SystemIniPath() const = 0;
    virtual QString ExeFolder() const = 0;

    virtual void SetPanelEnabled(int flag) = 0;
    virtual void RestoreWindowPlacement(DesktopWindow* window, const QString& name) = 0;
    virtual void SaveWindowPlacement(DesktopWindow* window, const QString& name) = 0;
    // Brings the main window to the front.
    virtual void BringToFront() = 0;
    // Types a key string into the foreground window (the KeySender).
    virtual int SendKeys(const QString& keys) = 0;

    // The column prompts, run after a workbook was opened.
    virtual int RowPrompt() = 0;
    virtual void PricePrompt() = 0;
    // After opening: "タイトルを1出品分戻す" shown, "閉じる" and "行再選択" enabled and the
    // remembered close state enabled.
    virtual void WorkbookOpened() = 0;

    // The main window's top edge, moved by the row prompt out of the user's way.
    virtual int MainTop() const = 0;
    virtual void SetMainTop(int top) = 0;

    // The title undo's outputs: the next title label and the undo button's visibility.
    virtual void SetNextTitleLabel(const QString& text) = 0;
    virtual void SetPreviousTitleVisible(bool visible) = 0;
};

// Waits while the window keeps handling its events.
void Pause(int ms);

} // namespace zk::sheet
