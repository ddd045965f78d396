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

// Says how a step of the road ended when it did not end well: a lost browser by the reconnect
// rule (it is started again), a lost office with the office's caption, any other reason as it
// is; then, when the open listing was taken back, that its pictures went back (`pictureBox`) and
// that one listing was undone (`undoneBox`).
struct ListingResult;
void sayListingFailure(const ListingResult& result, bool undoneBox, workflow::BrowserSession& browser,
                       workflow::Settings& settings, workflow::Panel& panel);
// Takes back the open listing when nothing of it reached the site: true when it did, with the
// box that says so.
bool undoOneListing(workflow::ItemBook& book, workflow::ListingCarry& carry, workflow::ListingLedger& ledger,
                    workflow::Panel& panel);

} // namespace zk::listing
