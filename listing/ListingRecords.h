#pragma once
// The listing records' road past the agree press: the site's answer written into the record's
// own row and saved at once; a listing in doubt looked for on the site; what a killed Zerkon
// left in the journal settled at the next start.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
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
    // a failure names the rows that are not yet on disk, and the journal keeps them. What is to
    // be said comes back; SayListedRows shows it.
    QStringList SaveListedRows();
    void SayListedRows();
    // The open record's agree press went out but no answer was read: the site is asked. Found
    // once, it is recorded; several, the seller chooses; not found, it stays in doubt until the
    // site can no longer make it, and only then is taken back. True when it is settled.
    bool AskTheSite(QString* foundId = nullptr);
    // Before a listing step: true when no listing is in doubt, so the step may go on; otherwise
    // the site is asked about it and the step ends there.
    bool SettleDoubt();
    // At start-up, after the login: what the journal holds from a run that did not end well.
    void RecoverJournal();
    // A listing of this row is on the site: the cursor moves past it, as the upload would have.
    void advanceCursorPast(int row);

private:
    struct Candidate {
        QString id, link;
        QString price, closing; // as the list shows them, when the seller is to choose
    };
    struct Look {
        workflow::DoubtCandidates::Kind kind = workflow::DoubtCandidates::Kind::None;
        QList<Candidate> found;
    };
    // The selling list's items that may be the open record's listing, and whether one of them
    // can only be it. None when the site could not be asked.
    std::optional<Look> candidatesOnSite(const workflow::ListingRecord& record);
    // Auction IDs other rows of the workbook hold, so that an older listing of the same title
    // is not taken for this one.
    QStringList idsInWorkbook();
    void recordFound(const Candidate& found, bool atStart);
    // The open sheet's rows, title and ID, read in blocks from its first row to its end and at
    // least to `through`; none when the office could not be read.
    std::optional<QList<workflow::SheetRow>> sheetRows(int through);
    // Why a listed record's ID was not written, for the seller.
    static QString placeNote(const workflow::ListingRecord& record, const workflow::RowPlace& place);
    QString* foundId_ = nullptr;
    // Not on the site after the doubt's bound: its pictures back, its row as it was.
    void takeBackAbsent();
    int doubtSeconds() const;

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
