#pragma once
// Puts the fixed answers of FieldsDefine.ini into the site's listing form shown in the driven
// browser, selects the auction sales mode and chooses the closing date and time.
#include "workflow/BrowserSession.h"
#include "workflow/ListingCarry.h"
#include "workflow/Panel.h"

#include <QSet>
#include <QString>

namespace zk::fields {

class FormFiller {
public:
    FormFiller(workflow::BrowserSession& browser, workflow::ListingCarry& carry, workflow::Panel& panel)
        : browser_(browser), carry_(carry), panel_(panel) {}

    // The index of the page form that was filled, or -1 after its message. skipPrices (1) leaves
    // both price fields alone, as a relist does. Names in onPage were just found on this page by
    // the caller and are not looked up again. With `failure`, what went wrong is put there for
    // the caller to say instead of being shown (a question to the seller is still asked).
    int FillListingForm(int skipPrices, const QSet<QString>& onPage = {}, QString* failure = nullptr);

private:
    // Makes sure the auction sales mode is chosen on the form, keying it while it is not; false
    // when it never held.
    bool holdSalesMode(int form);
    // Chooses the seller's closing date and hour in the page's own lists (the date by keys, the
    // hour by index); a slot the page no longer offers is said and only replaced by the nearest
    // one if the seller agrees. 0, or -1 after its message.
    int setClosing(int form);
    // Said, or handed to the caller that asked for it.
    void fail(const QString& text);

    workflow::BrowserSession& browser_;
    workflow::ListingCarry& carry_;
    [[maybe_unused]] workflow::Panel& panel_;
    QString* failure_ = nullptr;
};

} // namespace zk::fields
