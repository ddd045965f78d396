// The row cursor's rules and the panel guards that every step brackets itself with.
#include "workflow/Panel.h"
#include "workflow/RowCursor.h"
#include "tests/support/NullPanel.h"

#include <QList>
#include <gtest/gtest.h>
#include <stdexcept>

using zk::workflow::RowCursor;

TEST(RowCursor, ChoosingARowAndSteppingBack) {
    RowCursor row;
    EXPECT_EQ(row.PriceColumn, -1);
    EXPECT_FALSE(row.hasPriceColumns());

    row.NameColumn = 5;
    row.ResultColumn = 9;
    row.choose(7);
    EXPECT_EQ(row.CurrentRow, 7);
    EXPECT_EQ(row.FirstRow, 7);
    EXPECT_EQ(row.RowChosen, 1);
    EXPECT_EQ(row.NameColumn, 2);
    EXPECT_EQ(row.ResultColumn, 1);

    row.CurrentRow = 9;
    EXPECT_TRUE(row.stepBack());
    EXPECT_TRUE(row.stepBack());
    EXPECT_EQ(row.CurrentRow, 7);
    EXPECT_FALSE(row.stepBack()) << "never above the first item row";
    EXPECT_EQ(row.CurrentRow, 7);

    row.PriceColumn = 0;
    EXPECT_FALSE(row.hasPriceColumns());
    row.PriceColumn = 6;
    EXPECT_TRUE(row.hasPriceColumns());
    EXPECT_EQ(row.BuyPriceColumn(), 7);

    row.forgetChoice();
    EXPECT_EQ(row.RowChosen, 0);
    EXPECT_EQ(row.PriceColumn, -1);
    EXPECT_EQ(row.CurrentRow, 7) << "the old row stays until a new one is chosen";
}

namespace {

class RecordingPanel : public zk::test::NullPanel {
public:
    QList<QString> calls;
    void setBusy(bool busy) override { calls << (busy ? "busy" : "ready"); }
    void setCurtain(bool raised) override { calls << (raised ? "raise" : "lower"); }
};

} // namespace

TEST(PanelGuards, ReadyAndUncoveredOnEveryWayOut) {
    RecordingPanel panel;
    try {
        zk::workflow::BusyGuard busy(panel);
        zk::workflow::CurtainGuard curtain(panel);
        throw std::runtime_error("a step failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(panel.calls, (QList<QString>{"busy", "raise", "lower", "ready"}));

    // Ready early, once: what follows the early end runs on a ready panel.
    panel.calls.clear();
    {
        zk::workflow::BusyGuard busy(panel);
        busy.ready();
        panel.calls << "after";
    }
    EXPECT_EQ(panel.calls, (QList<QString>{"busy", "ready", "after"}));
}
