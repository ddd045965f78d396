#pragma once
// The road of one listing as one engine: the category's listing page, the pictures, the row's
// title, description and prices, the form's fixed answers and closing slot, the confirm press and
// the agree press. Each step returns what happened. The listing record moves through its stages
// here and nowhere else, which is what keeps a listing once on the site with its own pictures:
// the record opens before any picture moves, a listing that ends without reaching the site puts
// its pictures back, and no agree press goes out that the journal does not hold.
//
// No widgets and no boxes: the page work is a RoadSteps, and the caller that talks to the seller
// says what the results mean.
#include "workflow/ListingLedger.h"
#include "workflow/StepResult.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk {
class AutomationError;
}

namespace zk::listing {

using workflow::StepResult;

// One item as the caller read it: what the road sends.
struct ListingInput {
    int row = 0;      // the item's workbook row; 0 when no workbook is open
    QString workbook; // the workbook's file
    QString title, description;
    // As the form is to get them; empty leaves the form's own (the definitions' or the panel's).
    QString start, buy;
    QString category;     // the code of the category's listing page
    QStringList pictures; // the pictures this item takes, in the order they go
    bool send = true;     // the form's confirm press after the fill
    // The seller's selling list read before the press: its items are not this listing.
    workflow::SellingSnapshot before;
};

// How one listing ended.
struct ListingResult {
    StepResult end; // Done: on the site, its ID in auctionId
    int row = 0;
    QString auctionId, link, listedAt;
    // Nothing was listed: the open record was closed (takenBack), and these pictures went back
    // into the folder.
    bool takenBack = false;
    QStringList picturesBack;
    // Said after a listing that is on the site: the row not saved yet, an ID under a merge.
    QStringList notes;
    bool listed() const { return end.ok() && !auctionId.isEmpty(); }
};

// The page and workbook work of each step, done by the real browser and office.
class RoadSteps {
public:
    virtual ~RoadSteps() = default;
    virtual StepResult openCategory(const QString& code) = 0;
    // The pictures to the site's picture page; each one parked once the site shows it.
    virtual StepResult sendPictures(const QStringList& pictures) = 0;
    // The title, description and prices into the form; the title as it went (it may be edited).
    virtual StepResult fillRow(const ListingInput& input, QString& titleSent) = 0;
    // The fixed answers, the closing slot, the rows the definitions add.
    virtual StepResult fillItems() = 0;
    // The form's confirm press and the site's answer: the confirmation page, or its messages.
    virtual StepResult confirm() = 0;
    // The agree press: Done once pressed; anything else means nothing was pressed.
    virtual StepResult pressAgree() = 0;
    // The completion page's item link; Done with both, or why not.
    virtual StepResult readListing(QString& id, QString& link) = 0;
    // The listed records' IDs into their rows and the workbook saved; what is to be said.
    virtual QStringList saveListedRows() = 0;
    // A record that ends without a listing: its pictures back into the folder (those still
    // parked), its row's colour and the cursor back. The pictures put back.
    virtual QStringList takeBack(const workflow::ListingRecord& record) = 0;
    // What an automation error that escaped a step means: a lost browser or office, or a failure.
    virtual StepResult lostOrFailed(const AutomationError& error) = 0;
};

class ListingRoad {
public:
    using Clock = std::function<QDateTime()>;
    ListingRoad(workflow::ListingLedger& ledger, RoadSteps& steps, Clock now)
        : ledger_(ledger), steps_(steps), now_(std::move(now)) {}

    // The whole road for one item; on every way it ends without a listing, the record is
    // closed and its pictures are back in the folder, except a listing in doubt, which stays
    // open for the site to settle.
    ListingResult run(const ListingInput& input);

    // The single presses' steps. A lost browser or office takes the open listing back (one in
    // doubt stays); any other failure leaves it for the seller, who may mend the page.
    StepResult category(const QString& code);
    // Opens the record, then the pictures and the row's texts.
    ListingResult upload(const ListingInput& input);
    ListingResult setItems(bool send);
    // The agree press of the open record (or of none, for a form filled by hand).
    ListingResult agree();

private:
    StepResult guarded(const std::function<StepResult()>& step);
    // The open record ends without a listing: back into the folder with its pictures.
    void takeBack(ListingResult& result);
    ListingResult ended(const StepResult& end);

    workflow::ListingLedger& ledger_;
    RoadSteps& steps_;
    Clock now_;
};

} // namespace zk::listing
