#include "PreviousTitle.h"

#include "TitleTexts.h"

#include "platform/MessageService.h"
#include "sheet/Excel.h"

namespace zk::listing {

void PreviousTitle::PreviousTitleClick() {
    sheet::TExcel& excel = host_.Excel();
    sheet::WorkbookFields f = host_.Fields();
    if (f.ExcelState == 0 || excel.LiveCheck() == -1) {
        // The workbook has gone: treat it as closed.
        host_.SetPreviousTitleVisible(false);
        f.ExcelState = 0;
        return;
    }
    f.CurrentRow -= 1;
    if (f.CurrentRow < f.FirstRow) {
        MessageService::instance().show(texts::CannotGoBack);
        f.CurrentRow = f.FirstRow;
    }
    // Spreadsheet errors here are ignored: the wrapper records them and nothing is shown.
    excel.SetBackgroundColor(f.CurrentRow, -4142);
    host_.SetNextTitleLabel(sheet::TExcel::ToText(excel.ReadCell(f.CurrentRow, f.NameColumn)));
}

} // namespace zk::listing
