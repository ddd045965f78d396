#pragma once
// "落札者無し頁へ" and "個別再出品": the list of closed items without a winner, and the relist of
// the item whose page the browser shows. The bulk relist runs the same relist once per item,
// with the messages that concern one item silenced.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/Panel.h"
#include "workflow/RelistTally.h"
#include "workflow/Settings.h"

namespace zk {
class TIECtrl;
}

namespace zk::relist {

class SingleRelist {
public:
    SingleRelist(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                 workflow::Settings& settings, workflow::RelistTally& tally, workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), settings_(settings), tally_(tally), panel_(panel) {}

    void GoReShuppinClick();

    // A lost browser (or any browser error at the agree press outside a bulk run) is raised as
    // an AutomationError for the press's guard, which applies the reconnect rule once.
    enum class Outcome {
        NotRelisted, // stopped before the relist form was filled (said so outside a bulk run)
        Submitted,   // sent, and the site's completion page showed the new item
        Failed,      // the form was reached, filling or sending it failed, or the site did not complete it
    };
    Outcome ReShuppinClick(bool bulk);

    // The address of the list of closed items without a winner.
    QString unsoldListAddress() const;
    // Opens that list: -2 is said; a lost browser raises.
    int openUnsoldList();
    // Raises the disconnection when the browser has gone (what a failed browser step is then).
    static void raiseIfLost(TIECtrl& ie);

private:
    Outcome relist(bool bulk);
    bool completionShown();
    void say(bool bulk, const QString& text) const;

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::RelistTally& tally_;
    workflow::Panel& panel_;
};

} // namespace zk::relist
