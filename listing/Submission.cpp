#include "listing/Submission.h"

#include "browser/Iectrl.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/OneListingUndo.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>

namespace zk::listing {

void Submission::ExhibitClick() {
    workflow::BusyGuard busy(panel_);
    try {
        runExhibitClick(busy);
    } catch (const AutomationError& e) {
        // A page operation that raises (the element went away with its page, the browser
        // died) ends the step like a failed one: the record says what is to be done.
        browser_.IE->LastError = int32_t(e.code());
        browser_.IE->LastErrorText = e.text();
        failListing(browser_, book_, carry_, ledger_, settings_, panel_);
    }
}

void Submission::runExhibitClick(workflow::BusyGuard&) {
    ListingRecords records(browser_, book_, carry_, ledger_, settings_, panel_);
    if (!records.SettleDoubt()) return;
    workflow::ListingLedger& ledger = ledger_;
    workflow::ListingRecord* record = ledger.current();
    const workflow::ListingRecord::Stage before = record ? record->stage : workflow::ListingRecord::Stage::Uploading;
    // The time of the press, not of the page that follows it.
    const QString pressedAt = listingTimeText(clock::now());
    if (record) {
        // In the journal before the press goes out: from here the site may hold the item.
        record->listedAt = pressedAt;
        ledger.advance(workflow::ListingRecord::Stage::AgreeSent);
    }
    const int pressed = AgreeAndList();
    if (pressed != 0) {
        // Nothing was pressed: the record is as it was.
        if (ledger.current()) ledger.advance(before);
        if (pressed == -99) failListing(browser_, book_, carry_, ledger_, settings_, panel_);
        return;
    }
    QString link, id;
    ReadListedItemLink(link, id);
    if (id.isEmpty()) {
        // Pressed, but no ID read: the site is asked rather than an empty ID written.
        records.AskTheSite();
        return;
    }
    records.RecordListing(id, link, pressedAt);
    panel_.showGuideAt(0);
    if (!carry_.NextPicture.isEmpty()) panel_.showThumbnail(carry_.NextPicture);
}

int SitePages::AgreeAndList() {
    TIECtrl& ie = *browser_.IE;
    ie.SelectByTagName("input");
    // Nothing pressed: the caller applies its own failure path (a listing's undo, a relist's).
    if (ie.LastError != 0) return -99;
    const int n = ie.GetListLength();
    if (n <= 0) {
        MessageService::instance().show(texts::WrongScreen);
        return -1;
    }
    // The button nearest the end of the page: a page may quote the button's text higher up.
    for (int i = n - 1; i >= 0; --i) {
        if (ie.GetItemAttribute(i, "value") != texts::AgreeButtonValue) continue;
        ie.NarrowToItem(i);
        ie.ClickSelected();
        return 0;
    }
    MessageService::instance().show(texts::WrongScreen);
    return -1;
}

void SitePages::ReadListedItemLink(QString& link, QString& id) {
    link.clear();
    id.clear();
    TIECtrl& ie = *browser_.IE;
    ie.WaitComplete(10);
    if (!isCompletionPage(ie.GetUrl(), settings_.auctionHost())) {
        MessageService::instance().show(texts::NotCompletePage);
        return;
    }
    if (ie.SelectByTagName("A") != 0) {
        MessageService::instance().show(texts::NoBrowserData);
        return;
    }
    const int n = ie.GetListLength();
    if (n <= 0) {
        MessageService::instance().show(n == 0 ? texts::WrongPage : texts::NoBrowserData);
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (!ie.ItemHasChildren(i) || ie.GetItemText(i) != texts::ItemPageLinkText) continue;
        link = ie.GetItemAttribute(i, "href");
        id = auctionIdFromLink(link);
        return;
    }
}

int SitePages::ConfirmInsertion() {
    TIECtrl& ie = *browser_.IE;
    if (ie.WaitIdle(10) < 0 || ie.WaitComplete(10) < 0) return -1;
    QCoreApplication::processEvents();
    workflow::pause(50);
    for (int i = 0; i < 100; ++i) {
        if (ie.ExistsByName(texts::ConfirmElement)) return ie.ClickFormItem(0, texts::ConfirmElement) == 0 ? 0 : -1;
        workflow::pause(100);
    }
    MessageService::instance().show(texts::NoConfirmButton);
    return -1;
}

int SitePages::IsAlreadyListed() {
    TIECtrl& ie = *browser_.IE;
    if (ie.SelectByTagName("div") < 0) return -1;
    const int n = ie.GetListLength();
    if (n < 0) return -1;
    const QString marker = settings_.value(workflow::ini::ShuppinzumiMsg);
    const Variant divs = ie.List;
    for (int i = 0; i < n; ++i) {
        // Only text that stands first in the div itself, not inside an element within it.
        if (!ie.ItemHasChildren(i) || ie.GetItemFirstChildType(i, divs) != 3) continue;
        if (holdsListedMarker(ie.GetItemText(i), marker)) return 1;
    }
    return 0;
}

} // namespace zk::listing
