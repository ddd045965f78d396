#pragma once
// "項目セット(&S)": fills every remaining field of the site's listing form (the fixed answers,
// the closing date and time, the prices, the extra bank and payment rows) and, unless "送信" is
// "無", presses the form's confirm button. SetItemToForm is also the last step of a relist.
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk::listing {

// The form's filling alone, shared by the listing and the relist.
class ItemForm {
public:
    enum Mode { Listing = 0, Relisting = 1 };

    ItemForm(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
             workflow::Settings& settings, workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), settings_(settings), panel_(panel) {}

    // 0, or -1 after its message (put in `failure` instead, when given). A relist goes on to
    // agree and list. Names in onPage were just found on the page shown and are not looked up again.
    int SetItemToForm(int mode, const QSet<QString>& onPage = {}, QString* failure = nullptr);
    // Presses the page element with this id up to count times while a name of `missing` is not
    // on the form, taking the names that came out of it; the presses that completed.
    int AddFormRows(const QString& id, int count, QStringList& missing);
    // The names the definitions fill that the form does not show yet (their rows still to add).
    QStringList missingFromForm() { return fieldsMissingFromForm(filledNames()); }
    // The names the definitions fill that are on the form, but for those still missing.
    QSet<QString> foundOnForm(const QStringList& missing) const;
    // A relist's prices of its own (a step-down), written instead of the panel's: the start
    // price, and the buy-now price (empty clears the site's field).
    void relistAt(const QString& start, const QString& buy) {
        relistStart_ = start;
        relistBuy_ = buy;
    }
    // Run in a relist between the form's confirm press and the agree press, where the journal
    // takes the relist: false stops it there, nothing pressed.
    void beforeAgree(std::function<bool()> hook) { beforeAgree_ = std::move(hook); }

protected:
    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;

    // The names of the fields that the definitions fill.
    QStringList filledNames() const;
    // Those of `names` that the form does not show yet (their rows still to add).
    QStringList fieldsMissingFromForm(const QStringList& names);

private:
    int writePrices(int form, int mode, QString* failure);
    QString relistStart_, relistBuy_;
    std::function<bool()> beforeAgree_;
};

class ItemSet : public ItemForm {
public:
    ItemSet(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
            workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
        : ItemForm(browser, book, carry, settings, panel), ledger_(ledger) {}

    // The listing road's item set, its failure said.
    void SetShuppinClick();

private:
    workflow::ListingLedger& ledger_;
};

} // namespace zk::listing
