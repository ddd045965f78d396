#pragma once
// The upload step of a listing ("アップロード(&U)") and the controls beside it: the next
// pictures to the site's picture page, then the workbook row's title, description and prices
// into the listing form; the folder's re-choice, the picture count, the pictures' undo and the
// preview of the next pictures while the thumbnail is held.
#include "listing/PhotoViewLibrary.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>
#include <functional>

namespace zk {
class AutomationError;
}

namespace zk::listing {

class TPicUploader;
namespace batch {
struct RowData;
}

// Also the picture half of the one-listing undo that the item set and the listing run when the
// browser is lost.
class PictureUpload : public workflow::UploadUndo {
public:
    PictureUpload(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                  workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel);

    bool hasUploads() const override;
    void UndoLastUpload() override { PreviousUploadClick(); }

    // A run that has read the row already hands it down: its title check before the upload, its
    // description and prices are taken from it rather than read again. The title is read once
    // more after the upload either way, which is what notices an office lost meanwhile.
    void UploadButtonClick(const batch::RowData* readRow = nullptr);
    void UploadClearClick();
    void TrackBar1Change(int position);
    void PreviousUploadClick();
    void Image1MouseDown();
    void Image1MouseUp();

    // The template of the picture folder with its "%%" filled from the current row.
    QString ExpandDescription() const;

    // The preview library, loaded at start from the program folder.
    bool loadPreview(const QString& exeFolder) { return preview_.load(exeFolder); }
    const PhotoViewLibrary& preview() const { return preview_; }

    // Whether Shift is down at the moment of the check (the real keyboard by default).
    std::function<bool()> ShiftHeld;

private:
    TPicUploader& uploader() const;
    // The file dialog for a picture of the folder: the folder with its separator, or empty.
    QString choosePictureFolder() const;
    void upload(const batch::RowData* readRow);
    // After a failed browser operation: a browser that has gone is reconnected and this
    // press's pictures and row colour are undone. True when that was the case.
    bool lostBrowser();
    // An error thrown by a browser call, kept where the reconnect rule reads it.
    void keep(const AutomationError& error);
    void putLastTextsBack();
    // What reached the form, kept in the listing's record.
    void noteInRecord(const std::function<void(workflow::ListingRecord&)>& note);
    // A form field written; false (said) when it failed.
    bool setField(const QString& name, const QString& value, const QString& failure);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
    PhotoViewLibrary preview_;
    // What this press has done so far, for its undo.
    int undoDepthBefore_ = 0;
    bool rowColoured_ = false;
};

} // namespace zk::listing
