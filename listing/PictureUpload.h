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

namespace zk::listing {

class TPicUploader;

class PictureUpload {
public:
    PictureUpload(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                  workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel);

    // The row is read, then the listing road's upload sends the next pictures and fills the form.
    void UploadButtonClick();
    void UploadClearClick();
    // A workbook opened: one other than the folder's asks for its picture folder, the current
    // one offered; cancelled, the current one stays (the check names it when it runs short).
    void WorkbookOpened(const QString& workbook);
    void TrackBar1Change(int position);
    void PreviousUploadClick();
    void Image1MouseDown();
    void Image1MouseUp();

    // The template of the picture folder with its "%%" filled from the current row, each cell as
    // the office shows it.
    QString ExpandDescription() const;

    // The preview library, loaded at start from the program folder.
    bool loadPreview(const QString& exeFolder) { return preview_.load(exeFolder); }
    const PhotoViewLibrary& preview() const { return preview_; }

    // Whether Shift is down at the moment of the check (the real keyboard by default).
    std::function<bool()> ShiftHeld;

private:
    TPicUploader& uploader() const;
    // The file dialog for a picture of the folder: the folder with its separator, or empty.
    QString choosePictureFolder(const QString& caption) const;
    void upload();
    // The folder chosen again through the picture dialog, scanned from its first picture.
    void changeFolder(const QString& caption);
    // A check before the road met a browser that failed or went: the reconnect rule.
    void reconnect();
    void putLastTextsBack();
    // A form field written; false (said) when it failed.
    bool setField(const QString& name, const QString& value, const QString& failure);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
    PhotoViewLibrary preview_;
};

} // namespace zk::listing
