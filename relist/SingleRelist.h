#pragma once
// "落札者無し頁へ" and "個別再出品": the list of closed items without a winner, and the relist of
// the item whose page the browser shows. The bulk relist runs the same relist once per item,
// with the messages that concern one item silenced.
//
// A relist is a listing record like any other: it enters the journal before the agree press,
// so that a relist whose answer was lost is settled with the site (never made twice, its new
// ID never lost). Every relist tried goes into the relist log; the item's workbook row, where
// its old ID is in column A, takes the new ID and keeps the old one beside it.
#include "relist/RelistRules.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/RelistTally.h"
#include "workflow/Settings.h"

#include <QHash>
#include <optional>

namespace zk {
class TIECtrl;
}

namespace zk::relist {

struct StepDownRule;

// The item workbook's rows by the auction ID in their column A, and the column of the items' own
// floor: read once per press.
struct WorkbookItems {
    QString workbook;
    QHash<QString, int> rowOfId;
    int floorColumn = 0; // the "最低価格" column, 0 none
};

class SingleRelist {
public:
    SingleRelist(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                 workflow::Settings& settings, workflow::RelistTally& tally, workflow::ListingLedger& ledger,
                 workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), settings_(settings), tally_(tally), ledger_(ledger),
          panel_(panel) {}

    void GoReShuppinClick();

    // A lost browser (or any browser error at the agree press outside a bulk run) is raised as
    // an AutomationError for the press's guard, which applies the reconnect rule once.
    enum class Outcome {
        NotRelisted, // stopped before the relist form was filled (said so outside a bulk run)
        Submitted,   // sent, and the site's completion page showed the new item
        Failed,      // the form was reached, filling or sending it failed, or the site did not complete it
        Skipped,     // the step-down's floor was reached and the rule skips such items
    };
    Outcome ReShuppinClick(bool bulk);

    // The address of the list of closed items without a winner.
    QString unsoldListAddress() const;
    // Opens that list: -2 is said; a lost browser raises.
    int openUnsoldList();
    // Raises the disconnection when the browser has gone (what a failed browser step is then).
    static void raiseIfLost(TIECtrl& ie);

    // The panel's step-down, or none when it is not chosen; a rule the panel's texts do not
    // make is said (and `refused` set).
    static std::optional<StepDownRule> panelStepDown(const workflow::Panel::RelistPrices& prices, bool* refused);
    // The open item workbook's rows and floor column (empty when no workbook is open).
    WorkbookItems readWorkbookItems();
    // The item's own floor from its row, none when it has no row or no such number.
    std::optional<qint64> ownFloor(const WorkbookItems& items, const QString& auctionId);
    // A bulk run reads the workbook once and hands it to each relist.
    void useWorkbookItems(const WorkbookItems* items) { items_ = items; }
    // A relist of an earlier press in doubt is settled with the site first: false when it is
    // still in doubt (said), and the press ends.
    bool settleEarlierRelist();

private:
    Outcome relist(bool bulk);
    // The completion page after the agree press: true with the new item, false when the site
    // answered otherwise.
    bool completionShown(QString& id, QString& link);
    void say(bool bulk, const QString& text) const;
    // The relist form's start and buy-now prices and title, as the site filled them in.
    bool readForm(QString& start, QString& buy, QString& title);
    void logAttempt(const QString& result);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::RelistTally& tally_;
    workflow::ListingLedger& ledger_;
    workflow::Panel& panel_;
    const WorkbookItems* items_ = nullptr;
    RelistLogEntry attempt_; // the relist under way, as its log line will say it
};

} // namespace zk::relist
