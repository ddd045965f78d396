#pragma once
// The last step of a listing, on the site's confirmation page: agree and list, read the new
// item page from the completion page, and record ID, time and address in the item's row. Also
// the page checks that the category navigation and the relist share: the press of the site's
// confirm button and the already-listed test.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>

namespace zk::listing {

// The site's pages of the listing's end, read and pressed through the browser alone.
class SitePages {
public:
    SitePages(workflow::BrowserSession& browser, workflow::Settings& settings)
        : browser_(browser), settings_(settings) {}

    // 0 pressed; -1 not, its message shown; -99 the page could not be read (the browser's error
    // in IE->LastError, nothing shown): the caller's failure path follows.
    int AgreeAndList();
    // The completion page's item link and the auction ID in it; both empty when not read.
    void ReadListedItemLink(QString& link, QString& id);
    // Waits for the site's confirm button (about ten seconds) and presses it: 0, or -1.
    int ConfirmInsertion();
    // 1 the page says the item is listed already, 0 it does not, -1 the page could not be read.
    int IsAlreadyListed();

protected:
    workflow::BrowserSession& browser_;
    workflow::Settings& settings_;
};

class Submission : public SitePages {
public:
    Submission(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
               workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
        : SitePages(browser, settings), book_(book), carry_(carry), ledger_(ledger), panel_(panel) {}

    // "出品する(&H)".
    void ExhibitClick();

private:
    void runExhibitClick(workflow::BusyGuard& busy);

    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
