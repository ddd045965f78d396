#pragma once
// The main window's handling of the one item workbook: opening it with the file dialog,
// closing it with saving, the guarded cell access every workflow uses, and the repair of the
// spreadsheet's cell-edit mode.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

#include <QString>

namespace zk::sheet {

class WorkbookSession {
public:
    WorkbookSession(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

    void StartExcelClick();
    void CloseExcelClick();
    // True when read (the text may be empty); false when failed and reported.
    bool ReadCellText(int row, int column, QString& text);
    // True when written; false when failed and reported.
    bool WriteCellText(int row, int column, const QString& text);
    void RepairEditMode();

private:
    // The chosen workbook's path, or empty when the user cancelled.
    QString ChooseWorkbook(const QString& folder);
    void ReportCellError(const QString& prefix);

    workflow::Shared& shared_;
    workflow::Panel& panel_;
};

// Waits while the window keeps handling its events.
void Pause(int ms);

} // namespace zk::sheet
