#pragma once
// The listing road's steps done on the site by the real browser and office: the category's
// listing page, the pictures through the site's picture page, the row's texts and prices into the
// form, the fixed answers, the confirm and agree presses, the completion page, and the rows and
// pictures after a listing. What each did comes back as a result; nothing here says anything to
// the seller but the questions only the seller can answer (an over-long title, a closing slot
// the page no longer offers).
#include "listing/ListingRoad.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

namespace zk::listing {

class RoadStepsOnSite : public RoadSteps {
public:
    RoadStepsOnSite(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                    workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), ledger_(ledger), settings_(settings), panel_(panel) {}

    StepResult openCategory(const QString& code) override;
    StepResult sendPictures(const QStringList& pictures) override;
    StepResult fillRow(const ListingInput& input, QString& titleSent) override;
    StepResult fillItems() override;
    StepResult confirm() override;
    StepResult pressAgree() override;
    StepResult readListing(QString& id, QString& link) override;
    QStringList saveListedRows() override;
    QStringList takeBack(const workflow::ListingRecord& record) override;
    StepResult lostOrFailed(const AutomationError& error) override;

    // A failure of a page operation that returned rather than raised: a browser gone meanwhile
    // makes it a lost browser.
    StepResult failedOrLost(const QString& reason);

private:
    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
