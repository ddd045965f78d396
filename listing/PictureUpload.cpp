#include "listing/PictureUpload.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "fields/Fields.h"
#include "listing/BatchRules.h"
#include "listing/ListingRecords.h"
#include "listing/PicUploader.h"
#include "listing/PictureCheck.h"
#include "listing/Texts.h"
#include "listing/Titleedit.h"
#include "listing/UploadRules.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "sheet/WorkbookSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace zk::listing {
namespace {

void say(const QString& text) { MessageService::instance().show(text); }

// Guide positions: the category step, the item-set step.
constexpr int GuideCategory = 0;
constexpr int GuideItemSet = 2;

} // namespace

PictureUpload::PictureUpload(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                             workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
    : ShiftHeld([] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); }),
      browser_(browser), book_(book), carry_(carry), ledger_(ledger), settings_(settings), panel_(panel) {}

TPicUploader& PictureUpload::uploader() const { return *carry_.PicUploader; }

QString PictureUpload::choosePictureFolder() const {
    // The program's own files are found from the current folder, which a file dialog may move.
    const QString programFolder = QDir::currentPath();
    const QString path = MessageService::instance().openFileName(texts::PictureDialogCaption, uploader().Folder,
                                                                 texts::PictureFilter);
    QDir::setCurrent(programFolder);
    if (path.isEmpty()) return {};
    return QFileInfo(path).absolutePath() + "/";
}

void PictureUpload::keep(const AutomationError& error) {
    browser_.IE->LastError = int32_t(error.code());
    browser_.IE->LastErrorText = error.text();
}

bool PictureUpload::setField(const QString& name, const QString& value, const QString& failure) {
    int result = -99;
    try {
        result = browser_.IE->SetFormValue(0, name, value);
    } catch (const AutomationError& e) {
        // The wait after the write throws when the browser has gone: it is this field's failure.
        keep(e);
    }
    if (result == 0) return true;
    say(failure);
    return false;
}

bool PictureUpload::lostBrowser() {
    TIECtrl& ie = *browser_.IE;
    const bool recorded = AutomationError(uint32_t(ie.LastError), {}).isDisconnection();
    if (!recorded && ie.IsConnected()) return false;
    // A browser that vanished without a recorded error is still a lost one.
    if (!recorded) ie.LastError = int32_t(hresult::Disconnected);
    SiteLogin(browser_, settings_, panel_).ReconnectRule(-99);
    panel_.showGuideAt(GuideCategory);
    // The half-done listing is undone here: the new browser starts a new one.
    if (rowColoured_ && book_.ExcelState == 1)
        book_.Excel->SetBackgroundColor(book_.Row.CurrentRow, workflow::colour::None);
    rowColoured_ = false;
    if (uploader().undoDepth() > undoDepthBefore_) {
        PreviousUploadClick();
        // Its pictures are back: the listing this press began is no more.
        ledger_.drop();
    }
    return true;
}

void PictureUpload::noteInRecord(const std::function<void(workflow::ListingRecord&)>& note) {
    workflow::ListingRecord* record = ledger_.current();
    if (!record || !record->undoable()) return;
    note(*record);
    ledger_.persist();
}

void PictureUpload::putLastTextsBack() {
    const TFieldDefs& fields = *carry_.FieldDefs;
    if (!book_.LastTitle.isEmpty() && !setField(fields.TitleFieldName, book_.LastTitle, texts::TitleSetFailedShort))
        return;
    if (!carry_.LastDescription.isEmpty())
        setField(fields.DescriptionFieldName, carry_.LastDescription, texts::DescriptionSetFailedShort);
}

void PictureUpload::UploadButtonClick(const batch::RowData* readRow) {
    undoDepthBefore_ = uploader().undoDepth();
    rowColoured_ = false;
    try {
        upload(readRow);
    } catch (const AutomationError& e) {
        // A browser call that throws ends the press here, with the reconnect rule.
        keep(e);
        if (!lostBrowser()) SiteLogin(browser_, settings_, panel_).ReconnectRule(-99);
    }
}

void PictureUpload::upload(const batch::RowData* readRow) {
    workflow::RowCursor& row = book_.Row;
    TIECtrl& ie = *browser_.IE;
    TPicUploader& up = uploader();
    const TFieldDefs& fields = *carry_.FieldDefs;

    // The first press after opening a workbook asks for the first row and the price columns.
    if (book_.ExcelState == 1 && row.RowChosen == 0) {
        if (book_.Columns->RowPrompt() == -1) return;
        book_.Columns->PricePrompt();
        if (row.PriceColumn == 0) return;
    }

    // Only the listing form has the start-price field.
    if (ie.ExistsByName(fields.FieldName(fields.StartPriceIndex)) != 1) {
        if (ie.LastError == 0 && ie.IsConnected()) {
            say(texts::NotOnEntryForm);
            return;
        }
        if (!lostBrowser()) {
            SiteLogin(browser_, settings_, panel_).ReconnectRule(-99);
            panel_.setCurtain(false);
            panel_.showGuideAt(GuideCategory);
        }
        return;
    }

    if (ShiftHeld && ShiftHeld()) {
        putLastTextsBack();
        return;
    }
    if (!ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).SettleDoubt()) return;

    // Pictures already on this form are the seller's to remove first.
    if (ie.SelectByTagName("input") < 0 || ie.GetListLength() <= 0) {
        say(texts::UploadCheckFailed);
        return;
    }
    const int inputs = ie.GetListLength();
    for (int i = 0; i < inputs; ++i) {
        if (ie.GetItemAttribute(i, "value") != texts::EditPictures) continue;
        if (!ie.GetItemFlag(i, "disabled")) {
            say(texts::AlreadyUploaded);
            return;
        }
        break;
    }

    workflow::BusyGuard busy(panel_);
    if (up.Folder.isEmpty()) {
        const QString folder = choosePictureFolder();
        if (folder.isEmpty()) return;
        up.Folder = folder;
        if (up.ScanFolder(carry_.NextPicture) == -1) {
            // A folder without pictures is not kept: the next press asks again.
            up.ResetFolder();
            return;
        }
        panel_.showThumbnail(carry_.NextPicture);
        up.BrowserWindow = browser_.IEWindow;
        QCoreApplication::processEvents();
    } else if (up.NextIndex == up.Files.size()) {
        say(texts::NoMorePictures);
        return;
    }
    if (!up.HasEnoughPictures(panel_.uploadCount())) {
        say(texts::NotEnoughPictures);
        return;
    }
    // A file the site would refuse, or one that is not the seller's picture at all, stops the
    // press before anything is sent or parked.
    const QStringList unsendable = unsendablePictures(up.Folder, up.Files.mid(up.NextIndex, panel_.uploadCount()));
    if (!unsendable.isEmpty()) {
        say(texts::PicturesNotSendable + unsendable.join('\n'));
        return;
    }
    // A row without a title is past the items: its pictures would be spent for nothing.
    if (book_.ExcelState == 1) {
        QString title;
        if (readRow) title = readRow->title;
        else if (!book_.Workbook->ReadCellText(row.CurrentRow, row.NameColumn, title)) return;
        if (title.trimmed().isEmpty()) {
            say(texts::NoTitleInRow);
            return;
        }
    }

    int result = -1;
    {
        panel_.setTopMost(true);
        workflow::CurtainGuard curtain(panel_);
        carry_.NextPicture.clear();
        up.UploadCount = panel_.uploadCount();
        try {
            result = up.UploadPictures(carry_.NextPicture);
        } catch (const AutomationError& e) {
            // A browser call outside the recorded ones: kept for the reconnect rule below.
            keep(e);
            result = -1;
        }
        panel_.setTopMost(false);
    }
    QCoreApplication::processEvents();
    // The pictures the site now shows are this listing's: its record begins with them.
    if (up.undoDepth() > undoDepthBefore_) {
        ledger_.begin(book_.ExcelState == 1 ? row.CurrentRow : 0,
                      book_.ExcelState == 1 ? book_.Excel->BookPath : QString(), clock::now(), up.lastUpload());
    }
    if (result != 0) {
        if (result == -1) say(texts::UploadFailed);
        carry_.NextPicture = up.NextIndex < up.Files.size() ? up.Files[up.NextIndex] : QString();
        lostBrowser();
        return;
    }
    panel_.showThumbnail(carry_.NextPicture);

    if (book_.ExcelState == 1) {
        // Read again after the upload: an office lost meanwhile is said before the form is touched.
        QString title;
        if (!book_.Workbook->ReadCellText(row.CurrentRow, row.NameColumn, title)) return;
        if (rules::titleTooLong(title)) title = TTitleEdit1::EditTitle(title);
        sheet::Pause(100);
        try {
            ie.WaitComplete(2); // its result is not needed: the title's write says whether the form is there
        } catch (const AutomationError& e) {
            keep(e);
        }
        if (!setField(fields.TitleFieldName, title, texts::TitleSetFailed)) {
            lostBrowser();
            return;
        }
        if (book_.Excel->SetBackgroundColor(row.CurrentRow, workflow::colour::Listed) != 0) {
            panel_.bringToFront();
            MessageService::instance().show(sheet::texts::WriteFailed + book_.Excel->LastErrorText +
                                                sheet::texts::RestartAdvice,
                                            sheet::texts::ExcelErrorCaption, Icon::Exclamation);
            return;
        }
        rowColoured_ = true;
        book_.LastTitle = title;
        noteInRecord([&](workflow::ListingRecord& r) { r.title = title; });
        if (up.HasDescription) {
            const QString description = readRow ? readRow->description : ExpandDescription();
            if (!setField(fields.DescriptionFieldName, description, texts::DescriptionSetFailed)) {
                lostBrowser();
                return;
            }
            carry_.LastDescription = description;
            noteInRecord([&](workflow::ListingRecord& r) { r.description = description; });
        }
        if (row.hasPriceColumns()) {
            QString start, buy;
            if (readRow) start = readRow->start;
            else if (!book_.Workbook->ReadCellText(row.CurrentRow, row.PriceColumn, start)) return;
            if (!start.isEmpty() &&
                !setField(fields.FieldName(fields.StartPriceIndex), start, texts::StartPriceNotSet)) {
                lostBrowser();
                return;
            }
            if (readRow) buy = readRow->buy;
            else if (!book_.Workbook->ReadCellText(row.CurrentRow, row.BuyPriceColumn(), buy)) return;
            if (!buy.isEmpty() && !setField(fields.FieldName(fields.BuyPriceIndex), buy, texts::BuyPriceNotSet)) {
                lostBrowser();
                return;
            }
            noteInRecord([&](workflow::ListingRecord& r) {
                r.startPrice = start;
                r.buyPrice = buy;
            });
        }
        row.CurrentRow += 1;
        panel_.setNextTitle(book_.Workbook->NextTitle());
    } else if (up.HasDescription) {
        if (!setField(fields.DescriptionFieldName, up.DescriptionText, texts::DescriptionSetFailed)) {
            lostBrowser();
            return;
        }
        carry_.LastDescription = up.DescriptionText;
        noteInRecord([&](workflow::ListingRecord& r) { r.description = up.DescriptionText; });
    }
    if (ledger_.current() && ledger_.current()->stage == workflow::ListingRecord::Stage::Uploading)
        ledger_.advance(workflow::ListingRecord::Stage::Uploaded);
    panel_.showGuideAt(GuideItemSet);
}

QString PictureUpload::ExpandDescription() const {
    const workflow::RowCursor& row = book_.Row;
    return rules::expandDescription(uploader().DescriptionText, row.NameColumn + 2, [&](int column) {
        QString text;
        book_.Workbook->ReadCellText(row.CurrentRow, column, text, sheet::WorkbookSession::Failure::Quiet);
        return text;
    });
}

void PictureUpload::UploadClearClick() {
    const QString folder = choosePictureFolder();
    if (folder.isEmpty()) return;
    TPicUploader& up = uploader();
    up.ResetFolder();
    up.Folder = folder;
    if (up.ScanFolder(carry_.NextPicture) == 0) {
        panel_.showThumbnail(carry_.NextPicture);
        up.BrowserWindow = browser_.IEWindow;
        return;
    }
    up.ResetFolder();
    carry_.NextPicture.clear();
    panel_.showThumbnail({});
}

void PictureUpload::TrackBar1Change(int position) { panel_.setUploadEnabled(position != 0); }

bool PictureUpload::hasUploads() const { return carry_.PicUploader && carry_.PicUploader->undoDepth() > 0; }

void PictureUpload::PreviousUploadClick() {
    QString next;
    if (uploader().UndoLastUpload(next) != 0) return;
    carry_.NextPicture = next;
    panel_.showThumbnail(next);
}

void PictureUpload::Image1MouseDown() {
    const TPicUploader& up = uploader();
    if (up.Folder.isEmpty()) return;
    preview_.PR_CreateForm();
    const int h = preview_.PR_GetFormHeight();
    const QRect panel = panel_.panelGeometry();
    // Below the panel when there is no room above it.
    const int top = h > panel.top() ? panel.top() + panel.height() : panel.top() - h;
    preview_.PR_MoveForm(panel.left() + panel_.thumbnailLeft() - 50, top);
    preview_.PR_ShowForm();
    QCoreApplication::processEvents();
    for (int slot = 0; slot < 4; ++slot) {
        const QString name = up.PictureAt(up.NextIndex + slot);
        preview_.PR_SetPictureName(slot, name);
        if (name == rules::PictureEnd) break;
    }
    preview_.PR_DrawPicture();
}

void PictureUpload::Image1MouseUp() { preview_.PR_CloseForm(); }

} // namespace zk::listing
