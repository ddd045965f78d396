#pragma once
// The main window's handling of the one item workbook: opening it with the file dialog,
// closing it with saving, the guarded cell access every workflow uses, and the repair of the
// spreadsheet's cell-edit mode.
#include "sheet/WorkbookHost.h"

#include <QString>

namespace zk::sheet {

class WorkbookSession {
public:
    explicit WorkbookSession(WorkbookHost& host) : host_(host) {}

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

    WorkbookHost& host_;
};

} // namespace zk::sheet
