#include "listing/Submission.h"

#include "browser/Iectrl.h"
#include "listing/ListingRecords.h"
#include "listing/ListingRules.h"
#include "listing/ListingRoad.h"
#include "listing/ListingFailure.h"
#include "listing/RoadStepsOnSite.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"

namespace zk::listing {

void Submission::ExhibitClick() {
    workflow::BusyGuard busy(panel_);
    ListingRecords records(browser_, book_, carry_, ledger_, settings_, panel_);
    if (!records.SettleDoubt()) return;
    const bool recorded = ledger_.current() != nullptr;
    RoadStepsOnSite steps(browser_, book_, carry_, ledger_, settings_, panel_);
    const ListingResult result = ListingRoad(ledger_, steps, clock::now).agree();
    if (!result.listed()) {
        sayListingFailure(result, true, browser_, settings_, panel_);
        // Pressed, but no answer read: the site is asked rather than an empty ID written.
        if (ledger_.current() && ledger_.current()->inDoubt()) records.AskTheSite();
        return;
    }
    // No upload of this run belongs to the item: no row may take its ID.
    if (!recorded && book_.ExcelState == 1)
        MessageService::instance().show(texts::ListedWithoutRow.arg(result.auctionId));
    records.advanceCursorPast(result.row);
    for (const QString& note : result.notes) MessageService::instance().show(note);
    panel_.showGuideAt(0);
    if (!carry_.NextPicture.isEmpty()) panel_.showThumbnail(carry_.NextPicture);
}

} // namespace zk::listing
