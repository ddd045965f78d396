#pragma once
// "落札者無し頁へ" and "個別再出品": the list of closed items without a winner, and the relist of
// the item whose page the browser shows. The bulk relist runs the same relist once per item,
// with the messages that concern one item silenced.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

namespace zk::relist {

class SingleRelist {
public:
    SingleRelist(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

    void GoReShuppinClick();

    enum class Outcome {
        NotRelisted, // stopped before the relist form was filled (said so outside a bulk run)
        Submitted,   // the relist form was filled and sent
        Failed,      // the form was reached, filling or sending it failed (said so)
    };
    Outcome ReShuppinClick(bool bulk);

    // The address of the list of closed items without a winner.
    QString unsoldListAddress() const;

private:
    Outcome relist(bool bulk);
    void say(bool bulk, const QString& text) const;

    workflow::Shared& shared_;
    workflow::Panel& panel_;
};

} // namespace zk::relist
