#pragma once
// After the browser was lost or failed in the middle of a listing: the last upload's pictures,
// row colour and row pointer go back, so the seller can redo the item from the upload. Pictures
// already sent to the site stay there, as the box says.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

namespace zk::listing {

// Says what went wrong by the reconnect rule (a lost browser is started again; another error
// is shown with its text and the curtain lowered), undoes one listing, says so and puts the
// guide back at the category button.
void failListing(workflow::Shared& shared, workflow::Panel& panel);
// The undo alone: the upload's part when it has one, the title row when past the first row.
void undoOneListing(workflow::Shared& shared, workflow::Panel& panel);

} // namespace zk::listing
