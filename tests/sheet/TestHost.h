#pragma once
// The main window's side of the workbook session, for tests: the services, the panel's
// operations recorded, and the real column prompts. `userSelects` plays the user who selects a cell in the
// spreadsheet while the row prompt is shown.
#include "platform/KeySender.h"
#include "collect/ColumnPrompts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/calc/Application.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"
#include "tests/support/NullPanel.h"
#include "workflow/Services.h"

#include <QFileInfo>
#include <QStringList>
#include <functional>

namespace zk::test {

// The keys typed: the real KeySender into the foreground window, with every Tab recorded and
// `onTab` run once the window has handled it.
class RecordingKeySink : public KeyEventSink {
public:
    void sendKey(int virtualKey, bool down) override {
        foreground_.sendKey(virtualKey, down);
        if (virtualKey == 9 && down) {
            keys << "{TAB}";
            tabPending_ = true;
        }
    }
    void processKeys() override {
        foreground_.processKeys();
        if (tabPending_ && onTab) onTab();
        tabPending_ = false;
    }
    QStringList keys;
    std::function<void()> onTab;

private:
    ForegroundKeySink foreground_;
    bool tabPending_ = false;
};

class TestHost : public NullPanel, public workflow::ColumnChooser {
public:
    TestHost() {
        services.book.Excel = &excel;
        services.browser.Keys = &keySender;
        services.book.Columns = this;
        services.book.Workbook = &workbook;
    }
    ~TestHost() override {
        // The office ends with the test, also when the test failed half-way.
        if (excel.ExcelApp) excel.ExcelApp->office().terminate();
    }

    sheet::TExcel excel;
    RecordingKeySink keySink;
    KeySender keySender{&keySink};
    workflow::Services services;
    // The workbook state under the names the tests have always used.
    int& ExcelState = services.book.ExcelState;
    int& CurrentRow = services.book.Row.CurrentRow;
    int& FirstRow = services.book.Row.FirstRow;
    int& NameColumn = services.book.Row.NameColumn;
    int& PriceColumn = services.book.Row.PriceColumn;
    int& ResultColumn = services.book.Row.ResultColumn;
    int& RowChosen = services.book.Row.RowChosen;
    QString& LastTitle = services.book.LastTitle;
    QStringList& keys = keySink.keys;
    std::function<void()>& onTab = keySink.onTab;
    QString iniPath;
    QString exeFolder_;

    // System.ini of the test's data folder, and the program folder.
    void setIniPath(const QString& path) {
        iniPath = path;
        services.settings.setDataFolder(QFileInfo(path).absolutePath() + "/");
    }
    void setExeFolder(const QString& folder) { exeFolder_ = folder; }
    QString exeFolder() const { return exeFolder_; }

    QList<int> panel;
    QStringList restored, saved;
    int broughtToFront = 0, opened = 0, mainTop = 700;
    QList<int> tops;
    QString nextTitle;
    int previousVisible = -1;
    std::function<void()> userSelects;
    collect::ColumnPrompts prompts{services.book, *this};
    // The guarded cell access, the one the steps read and write the rows through.
    sheet::WorkbookSession workbook{services.browser, services.book, services.settings, *this};

    void setBusy(bool busy) override { panel << (busy ? 0 : 1); }
    void restorePlacement(DesktopWindow* window, const QString& name) override {
        restored << (window ? name : "(none)");
    }
    void savePlacement(DesktopWindow* window, const QString& name) override { saved << (window ? name : "(none)"); }
    void bringToFront() override { ++broughtToFront; }
    int RowPrompt() override {
        if (userSelects) userSelects();
        return prompts.RowPrompt();
    }
    void PricePrompt() override { prompts.PricePrompt(); }
    void workbookOpened() override { ++opened; }
    int top() const override { return mainTop; }
    void setTop(int top) override {
        mainTop = top;
        tops << top;
    }
    void setNextTitle(const QString& text) override { nextTitle = text; }
    void setPreviousTitleVisible(bool visible) override { previousVisible = visible ? 1 : 0; }

    // The user selects a cell of the active workbook's first sheet.
    void select(const QString& address) {
        excel.ExcelApp->activeWorkbook()->sheets()->item(1)->range(address)->select();
    }
};

// The spreadsheet while the user edits a cell: every call of the object model is refused
// with "call rejected" until Tab reaches its window. Only for tests: the office itself never
// refuses calls that way.
class EditingSpreadsheet {
public:
    void install(calc::Office& office, TestHost& host) {
        office.setCallGate([this](const QString&) {
            if (editing) {
                ++rejected;
                throw AutomationError(hresult::CallRejected, QStringLiteral("呼び出しが拒否されました。"));
            }
        });
        host.onTab = [this] { editing = false; };
    }
    bool editing = false;
    int rejected = 0;
};

} // namespace zk::test
