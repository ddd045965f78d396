#include "listing/PreviousTitle.h"

#include "listing/Texts.h"

#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"

namespace zk::listing {

void PreviousTitle::PreviousTitleClick() {
    sheet::TExcel& excel = *book_.Excel;
    workflow::RowCursor& row = book_.Row;
    if (book_.ExcelState == 0 || excel.LiveCheck() == -1) {
        // The workbook has gone: treat it as closed.
        panel_.setPreviousTitleVisible(false);
        book_.ExcelState = 0;
        return;
    }
    if (!row.stepBack()) MessageService::instance().show(texts::CannotGoBack);
    // Spreadsheet errors here are ignored: the wrapper records them and nothing is shown.
    excel.SetBackgroundColor(row.CurrentRow, workflow::colour::None);
    panel_.setNextTitle(book_.Workbook->NextTitle());
}

} // namespace zk::listing
