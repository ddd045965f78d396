// The relist price panel on real widgets: its slide over the neighbouring panel and back, and
// what it gives a relist.
#include "platform/RadioGroup.h"
#include "relist/RelistPricePanel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zk;
using namespace zk::relist;

namespace {

class RelistPanel : public ::testing::Test {
protected:
    void SetUp() override {
        neighbour.setGeometry(272, 1, 136, 109);
        panel.setGeometry(408, 1, 0, 109);
        panel.hide();
        select.setItems({"使用", "不使用"});
        select.setItemIndex(1);
        group.hide();
        c = {&check, &panel, &neighbour, &select, &group, &startLabel, &start, &buy, &buyNow, &timer};
    }
    void tickUntilStopped(RelistPricePanel& p) {
        for (int i = 0; i < 100 && timer.isActive(); ++i) {
            p.Timer6Timer();
            if (i == 0) {
                EXPECT_FALSE(check.isEnabled()) << "the box cannot be clicked while the panel moves";
            }
        }
        ASSERT_FALSE(timer.isActive());
    }

    QWidget page;
    QCheckBox check{&page};
    QFrame neighbour{&page}, panel{&page};
    RadioGroup select{&panel};
    QGroupBox group{&panel};
    QLabel startLabel{&group};
    QLineEdit start{&group}, buy{&group};
    QCheckBox buyNow{&group};
    QTimer timer;
    RelistPriceControls c;
};

TEST_F(RelistPanel, TickingSlidesItOpenWithUseAndClearingClosesItWithDoNotUse) {
    RelistPricePanel p(c);
    check.setChecked(true);
    p.RSKingakuPanelCheckClick();
    EXPECT_EQ(timer.interval(), 50);
    p.Timer6Timer();
    EXPECT_EQ(select.itemIndex(), 0) << "使用 on the first tick";
    EXPECT_TRUE(panel.isVisibleTo(&page));
    EXPECT_TRUE(group.isVisibleTo(&page));
    tickUntilStopped(p);
    EXPECT_EQ(panel.geometry(), neighbour.geometry());
    EXPECT_TRUE(check.isEnabled());

    check.setChecked(false);
    p.RSKingakuPanelCheckClick();
    tickUntilStopped(p);
    EXPECT_EQ(panel.geometry(), QRect(408, 1, 0, 109));
    EXPECT_TRUE(panel.isVisibleTo(&page)) << "closed at width 0, still shown";
    EXPECT_EQ(select.itemIndex(), 1);
    EXPECT_FALSE(group.isVisibleTo(&page));
    EXPECT_FALSE(p.PanelOpening);
}

TEST_F(RelistPanel, BuyNowHidesTheStartPriceAndThePricesApplyOnlyWhenOpenWithUse) {
    RelistPricePanel p(c);
    buyNow.setChecked(true);
    p.RSSokketuCheckBoxClick();
    EXPECT_TRUE(start.isHidden());
    EXPECT_TRUE(startLabel.isHidden());
    buyNow.setChecked(false);
    p.RSSokketuCheckBoxClick();
    EXPECT_FALSE(start.isHidden());
    EXPECT_FALSE(startLabel.isHidden());

    start.setText("1000");
    buy.setText("3000");
    EXPECT_FALSE(p.prices().used) << "closed panel";
    check.setChecked(true);
    select.setItemIndex(0);
    buyNow.setChecked(true);
    const zk::workflow::Panel::RelistPrices prices = p.prices();
    EXPECT_TRUE(prices.used);
    EXPECT_TRUE(prices.sokketu);
    EXPECT_EQ(prices.start, "1000");
    EXPECT_EQ(prices.buy, "3000");
}

} // namespace
