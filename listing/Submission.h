#pragma once
// The last step of a listing, on the site's confirmation page: agree and list, read the new
// item page from the completion page, and record ID, time and address in the item's row. Also
// the page checks that the category navigation and the relist share: the press of the site's
// confirm button and the already-listed test.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

#include <QString>

namespace zk::listing {

class Submission {
public:
    Submission(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

    // "出品する(&H)".
    void ExhibitClick();
    // 0 pressed; -1 not, its message shown; -99 the page could not be read (the browser's error
    // in IE->LastError, nothing shown): the caller's failure path follows.
    int AgreeAndList();
    // The completion page's item link and the auction ID in it; both empty when not read.
    void ReadListedItemLink(QString& link, QString& id);
    // Waits for the site's confirm button (about ten seconds) and presses it: 0, or -1.
    int ConfirmInsertion();
    // 1 the page says the item is listed already, 0 it does not, -1 the page could not be read.
    int IsAlreadyListed();

private:
    void runExhibitClick(workflow::BusyGuard& busy);

    workflow::Shared& shared_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
