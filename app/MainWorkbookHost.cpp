#include "MainWorkbookHost.h"

#include "Mainform.h"
#include "collect/ColumnPrompts.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"
#include "ui_Mainform.h"

namespace zk {

bool TMain::ReadCellText(int row, int column, QString& text) { return Workbook->ReadCellText(row, column, text); }

bool TMain::WriteCellText(int row, int column, const QString& text) {
    return Workbook->WriteCellText(row, column, text);
}

sheet::TExcel& MainWorkbookHost::Excel() { return *main_.Excel; }

sheet::WorkbookFields MainWorkbookHost::Fields() {
    return {main_.ExcelState, main_.CurrentRow,   main_.FirstRow,  main_.NameColumn,
            main_.PriceColumn, main_.ResultColumn, main_.RowChosen, main_.LastTitle};
}

QString MainWorkbookHost::SystemIniPath() const { return main_.SystemIniPath; }
QString MainWorkbookHost::ExeFolder() const { return main_.ExeFolder; }
void MainWorkbookHost::SetPanelEnabled(int flag) { main_.SetPanelEnabled(flag); }

void MainWorkbookHost::RestoreWindowPlacement(DesktopWindow* window, const QString& name) {
    main_.RestoreWindowPlacement(window, name);
}

void MainWorkbookHost::SaveWindowPlacement(DesktopWindow* window, const QString& name) {
    main_.SaveWindowPlacement(window, name);
}

void MainWorkbookHost::BringToFront() { Desktop::instance().setForeground(main_.window()); }
int MainWorkbookHost::SendKeys(const QString& keys) { return main_.Keys ? main_.Keys->SendKeys(keys) : -1; }
int MainWorkbookHost::RowPrompt() { return main_.Prompts->RowPrompt(); }
void MainWorkbookHost::PricePrompt() { main_.Prompts->PricePrompt(); }

void MainWorkbookHost::WorkbookOpened() {
    main_.ui()->PreviousTitle->show();
    main_.ui()->CloseExcel->setEnabled(true);
    main_.ui()->SelectRow->setEnabled(true);
    main_.RememberedClose = true;
}

int MainWorkbookHost::MainTop() const { return main_.y(); }
void MainWorkbookHost::SetMainTop(int top) { main_.move(main_.x(), top); }
void MainWorkbookHost::SetNextTitleLabel(const QString& text) { main_.ui()->NextTitleLabel->setText(text); }
void MainWorkbookHost::SetPreviousTitleVisible(bool visible) { main_.ui()->PreviousTitle->setVisible(visible); }

} // namespace zk
