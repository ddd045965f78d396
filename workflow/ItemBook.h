#pragma once
// The item workbook for the whole run: the spreadsheet's wrapper and whether it holds an open
// workbook, the guarded cell access, the prompts for the first row and the price columns, where
// the workflows are in the workbook and the title last written to the form.
#include "workflow/ItemRow.h"
#include "workflow/RowCursor.h"

#include <QString>

namespace zk::sheet {
class TExcel;
class WorkbookSession;
} // namespace zk::sheet

namespace zk::workflow {

// The prompts by which the user shows the first item row and the start-price column in the
// spreadsheet, run by the workbook session after opening a workbook.
class ColumnChooser {
public:
    virtual ~ColumnChooser() = default;
    // 0 when a row was chosen; -1 when cancelled or the sheet could not be read.
    virtual int RowPrompt() = 0;
    virtual void PricePrompt() = 0;
};

struct ItemBook {
    sheet::TExcel* Excel = nullptr;
    int ExcelState = 0; // 0 no workbook driven, 1 started with a workbook open
    // The open workbook is one a collection made: a listing press asks before it writes to it.
    bool MadeByCollection = false;
    // Every read and write of an item row's cell goes through it.
    sheet::WorkbookSession* Workbook = nullptr;
    ColumnChooser* Columns = nullptr;
    RowCursor Row;
    QString LastTitle;
};

} // namespace zk::workflow
