#pragma once
// The last step of a listing, on the site's confirmation page: agree and list, read the new
// item page from the completion page, and record ID, time and address in the item's row.
#include "browser/SitePages.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>

namespace zk::listing {

class Submission : public browser::SitePages {
public:
    Submission(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
               workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
        : SitePages(browser, settings), book_(book), carry_(carry), ledger_(ledger), panel_(panel) {}

    // "出品する(&H)": the listing road's agree press; the site's answer into the record's row.
    void ExhibitClick();

private:
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
