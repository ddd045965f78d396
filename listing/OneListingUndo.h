#pragma once
// After the browser was lost or failed in the middle of a listing. What the listing record
// says decides what happens: a listing whose agree press was never sent is taken back (its
// pictures into the folder, its row's colour and the row pointer back) so the seller can redo
// it from the upload; one whose agree press went out is looked for on the site; a listing that
// is complete is left alone.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

namespace zk::listing {

// Says what went wrong by the reconnect rule (a lost browser is started again; another error
// is shown with its text and the curtain lowered), then settles the open listing as above.
void failListing(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                 workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel);
// Takes back the open listing when nothing of it reached the site: true when it did, with the
// box that says so.
bool undoOneListing(workflow::ItemBook& book, workflow::ListingCarry& carry, workflow::ListingLedger& ledger,
                    workflow::Panel& panel);

} // namespace zk::listing
