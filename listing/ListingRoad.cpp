#include "listing/ListingRoad.h"

#include "listing/ListingRules.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"

namespace zk::listing {

using workflow::ListingRecord;
using Stage = ListingRecord::Stage;
using Kind = StepResult::Kind;

StepResult ListingRoad::guarded(const std::function<StepResult()>& step) {
    try {
        return step();
    } catch (const AutomationError& e) {
        return steps_.lostOrFailed(e);
    }
}

ListingResult ListingRoad::ended(const StepResult& end) {
    ListingResult result;
    result.end = end;
    if (const ListingRecord* record = ledger_.current()) result.row = record->row;
    return result;
}

void ListingRoad::takeBack(ListingResult& result) {
    const ListingRecord* record = ledger_.current();
    if (!record || !record->undoable()) return;
    result.row = record->row;
    // The pictures go back before the record closes: a kill in between leaves the record,
    // which puts them back at the next start.
    result.picturesBack = steps_.takeBack(*record);
    result.takenBack = true;
    ledger_.drop();
}

StepResult ListingRoad::category(const QString& code) {
    return guarded([&] { return steps_.openCategory(code); });
}

ListingResult ListingRoad::upload(const ListingInput& input) {
    // In the journal before any picture moves: a kill from here on is settled at the next start.
    ledger_.begin(input.row, input.workbook, now_(), input.pictures);
    if (!ledger_.journalError().isEmpty()) {
        ledger_.drop();
        return ended(StepResult::refused(texts::JournalBlocksListing.arg(ledger_.journalPath(), ledger_.journalError())));
    }
    if (ListingRecord* record = ledger_.current()) {
        record->title = input.title;
        record->rowTitle = input.title;
        record->before = input.before;
        record->description = input.description;
        record->startPrice = input.start;
        record->buyPrice = input.buy;
    }
    StepResult step = guarded([&] { return steps_.sendPictures(input.pictures); });
    if (step.ok()) {
        QString sent;
        step = guarded([&] { return steps_.fillRow(input, sent); });
        if (ListingRecord* record = ledger_.current(); record && !sent.isEmpty()) record->title = sent;
    }
    ListingResult result = ended(step);
    if (step.ok()) {
        ledger_.advance(Stage::Uploaded);
    } else if (step.lost() || step.kind == Kind::Refused) {
        takeBack(result);
    } else {
        // The pictures the site shows stay with the open record: the seller may mend the form.
        ledger_.persist();
    }
    return result;
}

ListingResult ListingRoad::setItems(bool send) {
    StepResult step = guarded([&] { return steps_.fillItems(); });
    if (step.ok()) {
        if (ListingRecord* record = ledger_.current(); record && record->undoable()) ledger_.advance(Stage::ItemSet);
        if (send) step = guarded([&] { return steps_.confirm(); });
    }
    ListingResult result = ended(step);
    if (step.lost()) takeBack(result);
    return result;
}

ListingResult ListingRoad::agree() {
    ListingRecord* record = ledger_.current();
    const Stage before = record ? record->stage : Stage::Uploading;
    // The time of the press, not of the page that follows it.
    const QString pressedAt = listingTimeText(now_());
    if (record) {
        // In the journal before the press goes out: from here the site may hold the item. A
        // journal that cannot hold it stops the press: no record, no listing.
        record->listedAt = pressedAt;
        record->agreeSentAt = now_();
        ledger_.advance(Stage::AgreeSent);
        if (!ledger_.journalError().isEmpty()) {
            ledger_.advance(before);
            return ended(StepResult::refused(texts::JournalBlocksListing.arg(ledger_.journalPath(), ledger_.journalError())));
        }
    }
    StepResult step;
    try {
        step = steps_.pressAgree();
    } catch (const AutomationError& e) {
        // The browser went during the press itself: it may have gone out, so only the site
        // can say. The record stays in doubt.
        return ended(steps_.lostOrFailed(e));
    }
    if (!step.ok()) {
        // Nothing was pressed: the record is as it was.
        if (ledger_.current()) ledger_.advance(before);
        ListingResult result = ended(step);
        if (step.lost()) takeBack(result);
        return result;
    }
    QString id, link;
    step = guarded([&] { return steps_.readListing(id, link); });
    if (step.kind == Kind::SiteRefused) {
        // The site answered and said no: nothing was made, and the press may be made again.
        ledger_.advance(Stage::ItemSet);
        return ended(step);
    }
    if (!step.ok() || id.isEmpty()) {
        // Pressed, but no answer read: only the site can say whether it listed. A lost browser
        // stays a lost browser for the caller, which reconnects before asking.
        return ended(step.lost() ? step : StepResult{Kind::InDoubt, step.reason, step.code, step.errorText});
    }
    ListingResult result;
    result.row = ledger_.current() ? ledger_.current()->row : 0;
    ledger_.listed(id, link, pressedAt);
    result.auctionId = id;
    result.link = link;
    result.listedAt = pressedAt;
    if (!ledger_.journalError().isEmpty()) result.notes << texts::JournalUnwritable.arg(ledger_.journalError());
    if (result.row > 0) result.notes << steps_.saveListedRows();
    return result;
}

ListingResult ListingRoad::run(const ListingInput& input) {
    const StepResult opened = category(input.category);
    if (!opened.ok()) return ended(opened);
    ListingResult result = upload(input);
    if (result.end.ok()) result = setItems(input.send);
    if (result.end.ok()) result = agree();
    // Whatever stopped it before the agree press went out: nothing of it is on the site.
    if (!result.listed()) takeBack(result);
    return result;
}

} // namespace zk::listing
