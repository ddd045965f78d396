#pragma once
// What the workbook session, the column prompts and the title undo need of the main window,
// over its own fields and operations.
#include "sheet/WorkbookHost.h"

namespace zk {

class TMain;

class MainWorkbookHost : public sheet::WorkbookHost {
public:
    explicit MainWorkbookHost(TMain& main) : main_(main) {}

    sheet::TExcel& Excel() override;
    sheet::WorkbookFields Fields() override;
    QString SystemIniPath() const override;
    QString ExeFolder() const override;
    void SetPanelEnabled(int flag) override;
    void RestoreWindowPlacement(DesktopWindow* window, const QString& name) override;
    void SaveWindowPlacement(DesktopWindow* window, const QString& name) override;
    void BringToFront() override;
    int SendKeys(const QString& keys) override;
    int RowPrompt() override;
    void PricePrompt() override;
    void WorkbookOpened() override;
    int MainTop() const override;
    void SetMainTop(int top) override;
    void SetNextTitleLabel(const QString& text) override;
    void SetPreviousTitleVisible(bool visible) override;

private:
    TMain& main_;
};

} // namespace zk
