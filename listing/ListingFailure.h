#pragma once
// What a press of the listing road says when its step did not end well.
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

} // namespace zk::listing
