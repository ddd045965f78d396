#pragma once
// "項目セット(&S)": fills every remaining field of the site's listing form (the fixed answers,
// the closing date and time, the prices, the extra bank and payment rows) and, unless "送信" is
// "無", presses the form's confirm button. SetItemToForm is also the last step of a relist.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

#include <QString>

namespace zk::listing {

class ItemSet {
public:
    enum Mode { Listing = 0, Relisting = 1 };

    ItemSet(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

    void SetShuppinClick();
    // 0, or -1 after its message. A relist goes on to agree and list.
    int SetItemToForm(int mode);
    // Presses the page element with this id up to count times; the presses that completed.
    int AddFormRows(const QString& id, int count);

private:
    // Fields that the definitions fill and the form does not show yet (their rows still to add).
    int fieldsMissingFromForm();
    void runSetShuppinClick(workflow::BusyGuard& busy);
    int writePrices(int form, int mode);

    workflow::Shared& shared_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
