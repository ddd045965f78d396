#pragma once
// The site's end pages that the listing, the category navigation and the relist share: agree and
// list, the completion page's item link, the press of the site's confirm button and the
// already-listed test. They need only the browser session and the settings.
#include "workflow/BrowserSession.h"
#include "workflow/ListingLedger.h"
#include "workflow/Settings.h"

#include <QString>

namespace zk::browser {

// The site's pages of the listing's end, read and pressed through the browser alone.
class SitePages {
public:
    SitePages(workflow::BrowserSession& browser, workflow::Settings& settings)
        : browser_(browser), settings_(settings) {}

    // A `failure` given takes the message that would be shown, for its caller to say.
    // 0 pressed; -1 not, its message shown; -99 the page could not be read (the browser's error
    // in IE->LastError, nothing shown): the caller's failure path follows.
    int AgreeAndList(QString* failure = nullptr);
    // The completion page's item link and the auction ID in it; both empty when not read.
    void ReadListedItemLink(QString& link, QString& id, QString* failure = nullptr);
    // Waits for the site's confirm button (about ten seconds) and presses it: 0, or -1.
    int ConfirmInsertion(QString* failure = nullptr);
    // The seller's selling list (its first page, where the newest items stand) as it is now: the
    // auction IDs of its item pages, and the time. False, and `snapshot` not taken, when the list
    // could not be read (a lost browser too).
    bool ReadSellingList(workflow::SellingSnapshot& snapshot);
    // 1 the page says the item is listed already, 0 it does not, -1 the page could not be read.
    int IsAlreadyListed();

protected:
    workflow::BrowserSession& browser_;
    workflow::Settings& settings_;
};

} // namespace zk::browser
