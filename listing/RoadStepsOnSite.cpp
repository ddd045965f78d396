#include "listing/RoadStepsOnSite.h"

#include "browser/Iectrl.h"
#include "browser/SiteMessages.h"
#include "browser/SitePageRules.h"
#include "browser/SitePages.h"
#include "category/CategoryNavigation.h"
#include "fields/Fields.h"
#include "listing/ItemSet.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "listing/Titleedit.h"
#include "listing/UploadRules.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/calc/Application.h"
#include "platform/calc/Office.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "sheet/WorkbookSession.h"
#include "workflow/Pause.h"

#include <QCoreApplication>

namespace zk::listing {

namespace {
// How long the site's answer to the form's confirm press may take.
constexpr int ConfirmWaitSeconds = 20;
constexpr int GuideItemSet = 2;
constexpr int GuideAgree = 3;
} // namespace

StepResult RoadStepsOnSite::lostOrFailed(const AutomationError& error) {
    const bool browserGone = error.isDisconnection() || (browser_.IEConnected && !browser_.IE->IsConnected());
    const sheet::TExcel* excel = book_.Excel;
    const bool officeGone =
        book_.ExcelState == 1 && excel && excel->ExcelApp && !excel->ExcelApp->office().connected();
    if (!browserGone && officeGone) return StepResult::officeLost(error.text());
    // A browser that vanished (or was ended as hung) counts as lost whatever the error said.
    return StepResult::browserError(browserGone && !error.isDisconnection() ? hresult::Disconnected : error.code(),
                                    error.text(), browserGone);
}

StepResult RoadStepsOnSite::failedOrLost(const QString& reason) {
    TIECtrl& ie = *browser_.IE;
    if (ie.IsConnected()) return StepResult::failed(reason);
    const AutomationError recorded(uint32_t(ie.LastError), ie.LastErrorText);
    return StepResult::browserLost(recorded.isDisconnection() ? recorded.code() : hresult::Disconnected,
                                   recorded.isDisconnection() ? recorded.text() : QString(), reason);
}

StepResult RoadStepsOnSite::openCategory(const QString& code) {
    return category::CategoryNavigation(browser_, carry_, settings_, panel_).openCategory(code);
}

StepResult RoadStepsOnSite::sendPictures(const QStringList& pictures) {
    if (pictures.isEmpty()) return StepResult::done();
    TPicUploader& up = *carry_.PicUploader;
    up.BrowserWindow = browser_.IEWindow;
    QString failure;
    int sent = -1;
    {
        panel_.setTopMost(true);
        workflow::CurtainGuard curtain(panel_);
        struct NotTopMost {
            workflow::Panel& panel;
            ~NotTopMost() { panel.setTopMost(false); }
        } notTopMost{panel_};
        sent = up.SendPictures(pictures, &failure);
    }
    QCoreApplication::processEvents();
    if (sent == 0) return StepResult::done();
    return failedOrLost(failure.isEmpty() ? texts::UploadFailed : failure);
}

StepResult RoadStepsOnSite::fillRow(const ListingInput& input, QString& titleSent) {
    TIECtrl& ie = *browser_.IE;
    const TFieldDefs& fields = *carry_.FieldDefs;
    workflow::RowCursor& row = book_.Row;
    // A field the browser could not write, whether it answered so or went away while writing:
    // the step says which field, and a browser gone makes it a lost one.
    auto set = [&](const QString& name, const QString& value) {
        try {
            return ie.SetFormValue(0, name, value) == 0;
        } catch (const AutomationError&) {
            return false;
        }
    };

    if (input.row <= 0 || book_.ExcelState != 1) {
        // No workbook: only the folder's template goes in.
        if (!input.description.isEmpty()) {
            if (!set(fields.DescriptionFieldName, input.description)) return failedOrLost(texts::DescriptionSetFailed);
            carry_.LastDescription = input.description;
        }
        panel_.showGuideAt(GuideItemSet);
        return StepResult::done();
    }

    // Read again after the upload: an office lost meanwhile is said before the form is touched.
    QString title;
    if (!book_.Workbook->ReadCellText(input.row, row.NameColumn, title)) return StepResult::officeLost({});
    // Measured and sent as the site keeps it, so a title that fits once trimmed is not held up.
    title = rules::titleAsSent(title);
    if (rules::titleTooLong(title)) title = TTitleEdit1::EditTitle(title);
    workflow::pause(100);
    try {
        ie.WaitComplete(2);
    } catch (const AutomationError&) {
        // Not needed: the title's write says whether the form is there.
    }
    if (!set(fields.TitleFieldName, title)) return failedOrLost(texts::TitleSetFailed);
    titleSent = title;
    if (book_.Excel->SetBackgroundColor(input.row, workflow::colour::Listed) != 0) {
        panel_.bringToFront();
        return StepResult::officeLost(sheet::texts::WriteFailed + book_.Excel->LastErrorText +
                                      sheet::texts::RestartAdvice);
    }
    book_.LastTitle = title;
    if (carry_.PicUploader->HasDescription) {
        if (!set(fields.DescriptionFieldName, input.description)) return failedOrLost(texts::DescriptionSetFailed);
        carry_.LastDescription = input.description;
    }
    if (!input.start.isEmpty() && !set(fields.FieldName(fields.StartPriceIndex), input.start))
        return failedOrLost(texts::StartPriceNotSet);
    if (!input.buy.isEmpty() && !set(fields.FieldName(fields.BuyPriceIndex), input.buy))
        return failedOrLost(texts::BuyPriceNotSet);
    if (row.CurrentRow <= input.row) row.CurrentRow = input.row + 1;
    panel_.setNextTitle(book_.Workbook->NextTitle());
    panel_.showGuideAt(GuideItemSet);
    return StepResult::done();
}

StepResult RoadStepsOnSite::fillItems() {
    TIECtrl& ie = *browser_.IE;
    TFieldDefs& defs = *carry_.FieldDefs;
    const QString startName = defs.StartPriceIndex >= 0 ? defs.FieldName(defs.StartPriceIndex) : QString();
    if (!ie.ExistsByName(startName)) {
        if (ie.LastError == 0) return StepResult::refused(texts::NotOnEntryForm);
        const AutomationError error(uint32_t(ie.LastError), ie.LastErrorText);
        return StepResult::browserError(error.code(), error.text(), error.isDisconnection() || !ie.IsConnected());
    }
    if (isConfirmationPage(ie.GetUrl())) return StepResult::refused(texts::NotOnEntryForm);
    if (!panel_.closingChosen()) {
        if (!panel_.subPageShown()) panel_.showSubPage();
        return StepResult::refused(texts::SetClosingFirst);
    }

    // Decided by what this form shows, for every form: rows are added while a field that the
    // definitions fill is missing, up to the rows the file names or until the button goes.
    ItemForm form(browser_, book_, carry_, settings_, panel_);
    const int bankRows = defs.BankNameNum - defs.BankDefaultNum;
    const int paymentRows = defs.OtherPaymentNum - defs.PaymentDefaultNum;
    QStringList missing = bankRows > 0 || paymentRows > 0 ? form.missingFromForm() : QStringList();
    form.AddFormRows(texts::AddBankElement, bankRows, missing);
    form.AddFormRows(texts::AddPaymentElement, paymentRows, missing);
    // What was found stays on the page (a row added takes nothing away): the fill writes it
    // without looking for it again. Found for this press only: the next page is another page.
    QSet<QString> onPage;
    if (bankRows > 0 || paymentRows > 0) onPage = form.foundOnForm(missing);

    // A title typed by hand is the record's too: the site is searched by it when in doubt.
    if (workflow::ListingRecord* record = ledger_.current(); record && record->title.isEmpty()) {
        record->title = ie.GetFormValue(0, defs.TitleFieldName);
        ledger_.persist();
    }
    QString failure;
    if (form.SetItemToForm(ItemForm::Listing, onPage, &failure) == -1)
        return failure.isEmpty() ? StepResult::refused({}) : failedOrLost(failure);
    Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
    panel_.showGuideAt(GuideAgree);
    return StepResult::done();
}

StepResult RoadStepsOnSite::confirm() {
    TIECtrl& ie = *browser_.IE;
    const QString failed = texts::batch::StepFailed.arg(texts::batch::StepItemSet);
    // With "送信" on, the fill pressed it already.
    if (!panel_.sendAfterFill()) {
        if (ie.SelectById(texts::SubmitElement) != 0 || ie.List.isNull() || ie.ClickSelected() != 0)
            return failedOrLost(failed);
    }
    ie.WaitIdle(ConfirmWaitSeconds);
    ie.WaitComplete(ConfirmWaitSeconds);
    // A refusal comes back at the confirmation's own address: the page's messages tell.
    const QString refused = browser::siteErrors(ie).join(QStringLiteral("／"));
    if (!refused.isEmpty()) return StepResult::siteRefused(refused);
    if (!isConfirmationPage(ie.GetUrl())) return failedOrLost(failed);
    return StepResult::done();
}

StepResult RoadStepsOnSite::pressAgree() {
    QString failure;
    const int pressed = browser::SitePages(browser_, settings_).AgreeAndList(&failure);
    if (pressed == 0) return StepResult::done();
    TIECtrl& ie = *browser_.IE;
    if (pressed == TIECtrl::AutomationFailed) {
        const AutomationError error(uint32_t(ie.LastError), ie.LastErrorText);
        return StepResult::browserError(error.code(), error.text(), error.isDisconnection() || !ie.IsConnected());
    }
    return failedOrLost(failure);
}

StepResult RoadStepsOnSite::readListing(QString& id, QString& link) {
    QString failure;
    browser::SitePages(browser_, settings_).ReadListedItemLink(link, id, &failure);
    if (!id.isEmpty()) return StepResult::done();
    // The site's own refusal at the completion's address: nothing was made.
    const QString refused = browser::siteErrors(*browser_.IE).join(QStringLiteral("／"));
    if (!refused.isEmpty()) return StepResult::siteRefused(refused);
    return failedOrLost(failure);
}

QStringList RoadStepsOnSite::saveListedRows() {
    return ListingRecords(browser_, book_, carry_, ledger_, settings_, panel_).SaveListedRows();
}

QStringList RoadStepsOnSite::takeBack(const workflow::ListingRecord& record) {
    TPicUploader* up = carry_.PicUploader;
    // The folder's pointer goes back only while the uploader's last upload is this listing's:
    // the seller may have taken them back by hand already.
    const bool last = up && !record.pictures.isEmpty() && up->lastUpload() == record.pictures;
    QStringList back;
    for (const QString& picture : record.pictures)
        if (TPicUploader::ParkPicture(picture, true)) back << picture;
    if (last) {
        up->NextIndex -= int(record.pictures.size());
        up->UndoCounts.removeLast();
        carry_.NextPicture = up->PictureAt(up->NextIndex);
        panel_.showThumbnail(carry_.NextPicture);
    }
    if (record.row > 0 && book_.ExcelState == 1 && book_.Excel && book_.Excel->BookPath == record.workbook) {
        workflow::RowCursor& row = book_.Row;
        // Spreadsheet errors here are the office's to report at its next use.
        book_.Excel->SetBackgroundColor(record.row, workflow::colour::None);
        if (row.CurrentRow > record.row) row.CurrentRow = record.row;
        panel_.setNextTitle(book_.Workbook->NextTitle());
    }
    return back;
}

} // namespace zk::listing
