#include "listing/PreviousTitle.h"

#include "listing/Texts.h"

#include "platform/MessageService.h"
#include "sheet/Excel.h"

namespace zk::listing {

void PreviousTitle::PreviousTitleClick() {
    sheet::TExcel& excel = *shared_.Excel;
    workflow::RowCursor& row = shared_.Row;
    if (shared_.ExcelState == 0 || excel.LiveCheck() == -1) {
        // The workbook has gone: treat it as closed.
        panel_.setPreviousTitleVisible(false);
        shared_.ExcelState = 0;
        return;
    }
    if (!row.stepBack()) MessageService::instance().show(texts::CannotGoBack);
    // Spreadsheet errors here are ignored: the wrapper records them and nothing is shown.
    excel.SetBackgroundColor(row.CurrentRow, -4142);
    panel_.setNextTitle(sheet::TExcel::ToText(excel.ReadCell(row.CurrentRow, row.NameColumn)));
}

} // namespace zk::listing
