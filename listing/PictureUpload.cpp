#include "listing/PictureUpload.h"

#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "fields/Fields.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRoad.h"
#include "listing/ListingFailure.h"
#include "listing/RoadStepsOnSite.h"
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

// Guide position of the category step.
constexpr int GuideCategory = 0;

} // namespace

PictureUpload::PictureUpload(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                             workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
    : ShiftHeld([] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); }),
      browser_(browser), book_(book), carry_(carry), ledger_(ledger), settings_(settings), panel_(panel) {}

TPicUploader& PictureUpload::uploader() const { return *carry_.PicUploader; }

QString PictureUpload::choosePictureFolder(const QString& caption) const {
    // The program's own files are found from the current folder, which a file dialog may move.
    const QString programFolder = QDir::currentPath();
    const QString path = MessageService::instance().openFileName(caption, uploader().Folder,
                                                                 texts::PictureFilter);
    QDir::setCurrent(programFolder);
    if (path.isEmpty()) return {};
    return QFileInfo(path).absolutePath() + "/";
}

bool PictureUpload::setField(const QString& name, const QString& value, const QString& failure) {
    if (browser_.IE->SetFormValue(0, name, value) == 0) return true;
    say(failure);
    return false;
}

void PictureUpload::reconnect() {
    TIECtrl& ie = *browser_.IE;
    const AutomationError recorded(uint32_t(ie.LastError), ie.LastErrorText);
    // A browser that vanished without a recorded error is still a lost one.
    const AutomationError error = !recorded.isDisconnection() && !ie.IsConnected()
                                      ? AutomationError(hresult::Disconnected, QString())
                                      : recorded;
    SiteLogin(browser_, settings_, panel_).ReconnectRule(error);
    panel_.setCurtain(false);
    panel_.showGuideAt(GuideCategory);
}

void PictureUpload::putLastTextsBack() {
    const TFieldDefs& fields = *carry_.FieldDefs;
    if (!book_.LastTitle.isEmpty() && !setField(fields.TitleFieldName, book_.LastTitle, texts::TitleSetFailedShort))
        return;
    if (!carry_.LastDescription.isEmpty())
        setField(fields.DescriptionFieldName, carry_.LastDescription, texts::DescriptionSetFailedShort);
}

void PictureUpload::UploadButtonClick() {
    try {
        upload();
    } catch (const AutomationError& e) {
        // A browser call of the checks before the road throws: the reconnect rule says it.
        SiteLogin(browser_, settings_, panel_).ReconnectRule(e);
        if (e.isDisconnection()) panel_.showGuideAt(GuideCategory);
    }
}

void PictureUpload::upload() {
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
        if (ie.LastError == 0 && ie.IsConnected()) say(texts::NotOnEntryForm);
        else reconnect();
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
        const QString folder = choosePictureFolder(texts::PictureDialogCaption);
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
    const int count = panel_.uploadCount();
    if (count == 0) {
        say(texts::SetPictureCount);
        return;
    }
    if (!up.HasEnoughPictures(count)) {
        say(texts::NotEnoughPictures);
        return;
    }
    const QStringList share = up.Files.mid(up.NextIndex, count);
    // A file the site would refuse, or one that is not the seller's picture at all, stops the
    // press before anything is sent or parked.
    const QStringList unsendable = unsendablePictures(up.Folder, share);
    if (!unsendable.isEmpty()) {
        say(texts::PicturesNotSendable + unsendable.join('\n'));
        return;
    }

    ListingInput input;
    input.pictures = share;
    input.before = carry_.SellingBefore;
    if (book_.ExcelState == 1) {
        input.row = row.CurrentRow;
        input.workbook = book_.Excel->BookPath;
        // A row without a title is past the items: its pictures would be spent for nothing.
        if (!book_.Workbook->ReadCellText(row.CurrentRow, row.NameColumn, input.title)) return;
        if (input.title.trimmed().isEmpty()) {
            say(texts::NoTitleInRow);
            return;
        }
        if (up.HasDescription) input.description = ExpandDescription();
        if (row.hasPriceColumns() &&
            (!book_.Workbook->ReadCellText(row.CurrentRow, row.PriceColumn, input.start) ||
             !book_.Workbook->ReadCellText(row.CurrentRow, row.BuyPriceColumn(), input.buy)))
            return;
    } else if (up.HasDescription) {
        input.description = up.DescriptionText;
    }

    carry_.NextPicture.clear();
    up.UploadCount = count;
    RoadStepsOnSite steps(browser_, book_, carry_, ledger_, settings_, panel_);
    const ListingResult result = ListingRoad(ledger_, steps, clock::now).upload(input);
    // Pictures the open record holds are spent: the folder's pointer moves past them, and the
    // one-listing undo can take them back.
    if (const workflow::ListingRecord* record = ledger_.current(); record && record->pictures == share) {
        up.NextIndex += int(share.size());
        up.UndoCounts.append(int(share.size()));
    }
    carry_.NextPicture = up.NextIndex < up.Files.size() ? up.Files[up.NextIndex] : QString();
    panel_.showThumbnail(carry_.NextPicture);
    if (!result.end.ok()) sayListingFailure(result, false, browser_, settings_, panel_);
}

QString PictureUpload::ExpandDescription() const {
    const workflow::RowCursor& row = book_.Row;
    return rules::expandDescription(uploader().DescriptionText, row.NameColumn + 2, [&](int column) {
        QString text;
        book_.Workbook->ReadShownText(row.CurrentRow, column, text, sheet::WorkbookSession::Failure::Quiet);
        return text;
    });
}

void PictureUpload::UploadClearClick() { changeFolder(texts::PictureDialogCaption); }

void PictureUpload::changeFolder(const QString& caption) {
    const QString folder = choosePictureFolder(caption);
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

void PictureUpload::WorkbookOpened(const QString& workbook) {
    TPicUploader& up = uploader();
    if (workbook.isEmpty() || workbook == up.Workbook) return;
    up.Workbook = workbook;
    if (!up.Folder.isEmpty()) changeFolder(texts::WorkbookPictureCaption.arg(QDir::toNativeSeparators(up.Folder)));
}

void PictureUpload::TrackBar1Change(int position) { panel_.setUploadEnabled(position != 0); }


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
