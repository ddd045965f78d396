#pragma once
// The main window's handling of the one item workbook: opening it with the file dialog,
// closing it with saving, the guarded cell access every workflow uses, and the repair of the
// spreadsheet's cell-edit mode.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>

namespace zk::sheet {

class WorkbookSession {
public:
    WorkbookSession(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::Settings& settings,
                    workflow::Panel& panel)
        : browser_(browser), book_(book), settings_(settings), panel_(panel) {}

    void StartExcelClick();
    void CloseExcelClick();
    // The one way to an item row's cell. A failure is said, after the repairs of the cell-edit
    // mode; a quiet access tries once and says nothing, where a failed cell only leaves a label
    // or a text empty and the office's trouble is reported at its next said use.
    enum class Failure { Said, Quiet };
    // True when read (the text may be empty; it is empty on a failure).
    bool ReadCellText(int row, int column, QString& text, Failure failure = Failure::Said);
    // The text the office shows in the cell, in its own number format: what a description takes.
    bool ReadShownText(int row, int column, QString& text, Failure failure = Failure::Said);
    bool WriteCellText(int row, int column, const QString& text, Failure failure = Failure::Said);
    // A block of cells in a few calls, row by row: `out` as ReadCellText reads each cell and, when
    // asked, `shown` as ReadShownText does; a failure is said as for one cell.
    bool ReadBlock(int firstRow, int firstColumn, int lastRow, int lastColumn, QList<QStringList>& out,
                   QList<QStringList>* shown = nullptr);
    // The title of the cursor's row, read quietly: what the panel shows as the next title.
    QString NextTitle();
    void RepairEditMode();

private:
    // The chosen workbook's path, or empty when the user cancelled.
    QString ChooseWorkbook(const QString& folder);
    void ReportCellError(const QString& prefix);
    template <class Read>
    bool readOne(QString& text, Failure failure, Read read);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
};

} // namespace zk::sheet
