#pragma once
// One of each workflow service, held by the main window for the whole run. No step takes this
// whole: each names the services it uses.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/RelistTally.h"
#include "workflow/Settings.h"

namespace zk::workflow {

struct Services {
    Settings settings; // System.ini and the data folder, read once
    BrowserSession browser;
    ItemBook book;
    ListingCarry carry;
    RelistTally relist;
    ListingLedger ledger; // one record per listing, from the upload to the auction ID on disk
};

} // namespace zk::workflow
