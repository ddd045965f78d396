#include "listing/OneListingUndo.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "listing/ListingRoad.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
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

void sayListingFailure(const ListingResult& result, bool undoneBox, workflow::BrowserSession& browser,
                       workflow::Settings& settings, workflow::Panel& panel) {
    const StepResult& end = result.end;
    if (end.kind == StepResult::Kind::BrowserLost || end.code != 0) {
        // What the step was doing first, as it would have said it; then the rule.
        if (!end.reason.isEmpty()) MessageService::instance().show(end.reason);
        SiteLogin(browser, settings, panel).ReconnectRule(
            AutomationError(end.code != 0 ? end.code : hresult::Disconnected, end.errorText));
        if (end.kind == StepResult::Kind::BrowserLost) panel.showGuideAt(GuideCategory);
        else panel.setCurtain(false);
    } else if (end.kind == StepResult::Kind::OfficeLost) {
        // Said by the workbook's own access when it met the loss; here only what it did not say.
        if (!end.reason.isEmpty()) {
            panel.bringToFront();
            MessageService::instance().show(end.reason, sheet::texts::ExcelErrorCaption, Icon::Exclamation);
        }
    } else if (!end.reason.isEmpty()) {
        MessageService::instance().show(end.reason);
    }
    if (!result.takenBack) return;
    if (!result.picturesBack.isEmpty()) MessageService::instance().show(texts::MovedBackOne);
    if (undoneBox) {
        MessageService::instance().show(texts::OneListingUndone, texts::InformationCaption, Icon::Information);
        panel.showGuideAt(GuideCategory);
    }
}

} // namespace zk::listing
