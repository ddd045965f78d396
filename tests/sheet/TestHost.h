#pragma once
// The main window's side of the workbook session, for tests: its fields, its shared operations
// recorded, and the real column prompts. `userSelects` plays the user who selects a cell in the
// spreadsheet while the row prompt is shown.
#include "browser/KeySender.h"
#include "collect/ColumnPrompts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/calc/Application.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookHost.h"

#include <QStringList>
#include <functional>

namespace zk::test {

class TestHost : public sheet::WorkbookHost {
public:
    ~TestHost() override {
        // The office ends with the test, also when the test failed half-way.
        if (excel.ExcelApp) excel.ExcelApp->office().terminate();
    }

    sheet::TExcel excel;
    int ExcelState = 0, CurrentRow = 0, FirstRow = 0, NameColumn = 0, PriceColumn = -1, ResultColumn = 0,
        RowChosen = 0;
    QString LastTitle;
    QString iniPath, exeFolder;

    QList<int> panel;
    QStringList restored, saved, keys;
    int broughtToFront = 0, opened = 0, mainTop = 700;
    QList<int> tops;
    QString nextTitle;
    int previousVisible = -1;
    std::function<void()> userSelects;
    collect::ColumnPrompts prompts{*this};

    sheet::TExcel& Excel() override { return excel; }
    sheet::WorkbookFields Fields() override {
        return {ExcelState, CurrentRow, FirstRow, NameColumn, PriceColumn, ResultColumn, RowChosen, LastTitle};
    }
    QString SystemIniPath() const override { return iniPath; }
    QString ExeFolder() const override { return exeFolder; }
    void SetPanelEnabled(int flag) override { panel << flag; }
    void RestoreWindowPlacement(DesktopWindow* window, const QString& name) override {
        restored << (window ? name : "(none)");
    }
    void SaveWindowPlacement(DesktopWindow* window, const QString& name) override {
        saved << (window ? name : "(none)");
    }
    void BringToFront() override { ++broughtToFront; }
    int SendKeys(const QString& text) override {
        keys << text;
        const int result = KeySender().SendKeys(text);
        if (text == "{TAB}" && onTab) onTab();
        return result;
    }
    int RowPrompt() override {
        if (userSelects) userSelects();
        return prompts.RowPrompt();
    }
    void PricePrompt() override { prompts.PricePrompt(); }
    void WorkbookOpened() override { ++opened; }
    int MainTop() const override { return mainTop; }
    void SetMainTop(int top) override {
        mainTop = top;
        tops << top;
    }
    void SetNextTitleLabel(const QString& text) override { nextTitle = text; }
    void SetPreviousTitleVisible(bool visible) override { previousVisible = visible ? 1 : 0; }

    std::function<void()> onTab;

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
