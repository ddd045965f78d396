#include "listing/OneListingUndo.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "listing/ListingRecords.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"

namespace zk::listing {

namespace {
constexpr int GuideCategory = 0;
} // namespace

bool undoOneListing(workflow::ItemBook& book, workflow::ListingCarry& carry, workflow::ListingLedger& ledger,
                    workflow::Panel& panel) {
    workflow::ListingRecord* record = ledger.current();
    if (!record || !record->undoable()) return false;
    // The pictures go back only while the uploader's last upload is this listing's: the seller
    // may have taken them back by hand already.
    if (carry.PicUploader && !record->pictures.isEmpty() && carry.PicUploader->lastUpload() == record->pictures &&
        carry.Uploads)
        carry.Uploads->UndoLastUpload();
    if (record->row > 0 && book.ExcelState == 1 && book.Excel && book.Excel->BookPath == record->workbook) {
        workflow::RowCursor& row = book.Row;
        // Spreadsheet errors here are the office's to report at its next use.
        book.Excel->SetBackgroundColor(record->row, workflow::colour::None);
        if (row.CurrentRow > record->row) row.CurrentRow = record->row;
        panel.setNextTitle(book.Workbook->NextTitle());
    }
    ledger.drop();
    MessageService::instance().show(texts::OneListingUndone, texts::InformationCaption, Icon::Information);
    panel.showGuideAt(GuideCategory);
    return true;
}

void failListing(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                 workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel) {
    const bool lost = AutomationError(uint32_t(browser.IE->LastError), {}).isDisconnection();
    SiteLogin(browser, settings, panel).ReconnectRule(-99);
    if (!lost) panel.setCurtain(false);
    const workflow::ListingRecord* record = ledger.current();
    if (!record) return;
    if (record->inDoubt()) {
        ListingRecords(browser, book, carry, ledger, settings, panel).AskTheSite();
        return;
    }
    undoOneListing(book, carry, ledger, panel);
}

} // namespace zk::listing
