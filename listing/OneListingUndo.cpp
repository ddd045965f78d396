#include "listing/OneListingUndo.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "listing/ListingRecords.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"

namespace zk::listing {

namespace {
constexpr int NoColour = -4142;
constexpr int GuideCategory = 0;
} // namespace

bool undoOneListing(workflow::Shared& shared, workflow::Panel& panel) {
    workflow::ListingRecord* record = shared.Ledger.current();
    if (!record || !record->undoable()) return false;
    // The pictures go back only while the uploader's last upload is this listing's: the seller
    // may have taken them back by hand already.
    if (shared.PicUploader && !record->pictures.isEmpty() && shared.PicUploader->lastUpload() == record->pictures &&
        shared.Uploads)
        shared.Uploads->UndoLastUpload();
    if (record->row > 0 && shared.ExcelState == 1 && shared.Excel && shared.Excel->BookPath == record->workbook) {
        workflow::RowCursor& row = shared.Row;
        // Spreadsheet errors here are the office's to report at its next use.
        shared.Excel->SetBackgroundColor(record->row, NoColour);
        if (row.CurrentRow > record->row) row.CurrentRow = record->row;
        panel.setNextTitle(sheet::TExcel::ToText(shared.Excel->ReadCell(row.CurrentRow, row.NameColumn)));
    }
    shared.Ledger.drop();
    MessageService::instance().show(texts::OneListingUndone, texts::InformationCaption, Icon::Information);
    panel.showGuideAt(GuideCategory);
    return true;
}

void failListing(workflow::Shared& shared, workflow::Panel& panel) {
    const bool lost = AutomationError(uint32_t(shared.IE->LastError), {}).isDisconnection();
    SiteLogin(shared, panel).ReconnectRule(-99);
    if (!lost) panel.setCurtain(false);
    const workflow::ListingRecord* record = shared.Ledger.current();
    if (!record) return;
    if (record->inDoubt()) {
        ListingRecords(shared, panel).AskTheSite();
        return;
    }
    undoOneListing(shared, panel);
}

} // namespace zk::listing
