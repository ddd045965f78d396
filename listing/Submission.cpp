#include "listing/Submission.h"

#include "browser/Iectrl.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/OneListingUndo.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"

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

} // namespace zk::listing
