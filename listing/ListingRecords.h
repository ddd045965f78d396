#pragma once
// The listing records' road past the agree press: the site's answer written into the record's
// own row and saved at once; a listing in doubt looked for on the site; what a killed Zerkon
// left in the journal settled at the next start.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zk::listing {

class ListingRecords {
public:
    ListingRecords(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                   workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), ledger_(ledger), settings_(settings), panel_(panel) {}

    // The site showed the listing of the open record (or of none, when no upload began one).
    void RecordListing(const QString& auctionId, const QString& link, const QString& listedAt);
    // The listed records of the open workbook go into their rows, and the workbook is saved;
    // a failure names the rows that are not yet on disk, and the journal keeps them.
    void SaveListedRows();
    // The open record's agree press went out but no answer was read: the site is asked. Found
    // once, it is recorded; not found, it is taken back; several, the seller chooses.
    void AskTheSite();
    // Before a listing step: true when no listing is in doubt, so the step may go on; otherwise
    // the site is asked about it and the step ends there.
    bool SettleDoubt();
    // At start-up, after the login: what the journal holds from a run that did not end well.
    void RecoverJournal();

private:
    struct Candidate {
        QString id, link;
    };
    // The selling list's items that may be the open record's listing.
    // None when the site could not be asked.
    std::optional<QList<Candidate>> candidatesOnSite(const workflow::ListingRecord& record);
    // Auction IDs already in the workbook's result column, so that an older listing of the
    // same title is not taken for this one.
    QStringList idsInWorkbook();
    void recordFound(const Candidate& found, bool atStart);
    void advanceCursorPast(int row);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
