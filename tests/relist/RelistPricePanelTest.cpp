// The relist price panel on real widgets: its slide over the neighbouring panel and back, and
// what it gives a relist.
#include "platform/RadioGroup.h"
#include "relist/RelistPricePanel.h"

#include <QCheckBox>
#include <QComboBox>
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

// "値下げ" is a third choice beside "使用" and "不使用": its controls take the prices' place,
// and the step-down applies only while the panel is open with it; the slide's own choices
// (使用 on opening, 不使用 on closing) are as before.
TEST_F(RelistPanel, StepDownIsAThirdChoiceWhoseControlsTakeThePricesPlace) {
    RelistPricePanel p(c);
    ASSERT_EQ(select.items().size(), 3);
    EXPECT_EQ(select.itemIndex(), 1) << "不使用 kept as chosen";
    QGroupBox* steps = p.stepDownGroup();
    EXPECT_EQ(steps->geometry(), group.geometry());
    check.setChecked(true);
    struct Case {
        int choice;
        bool prices, stepDown;
    };
    for (const Case& k : {Case{0, true, false}, Case{2, false, true}, Case{1, false, false}}) {
        select.setItemIndex(k.choice);
        p.RSTempPriceSelectClick();
        EXPECT_EQ(!group.isHidden(), k.prices) << k.choice;
        EXPECT_EQ(!steps->isHidden(), k.stepDown) << k.choice;
        EXPECT_EQ(p.prices().used, k.choice == 0) << k.choice;
        EXPECT_EQ(p.prices().stepDown, k.stepDown) << k.choice;
    }
    select.setItemIndex(2);
    steps->findChild<QLineEdit*>("RSStepValue")->setText("10");
    steps->findChild<QLineEdit*>("RSFloorPrice")->setText("500");
    steps->findChild<QComboBox*>("RSStepUnit")->setCurrentIndex(1);
    steps->findChild<QCheckBox*>("RSFloorFromColumn")->setChecked(true);
    steps->findChild<QComboBox*>("RSAtFloor")->setCurrentIndex(1);
    steps->findChild<QComboBox*>("RSStepBuyNow")->setCurrentIndex(1);
    const zk::workflow::Panel::RelistPrices prices = p.prices();
    EXPECT_EQ(prices.step, "10");
    EXPECT_FALSE(prices.stepPercent);
    EXPECT_EQ(prices.floor, "500");
    EXPECT_TRUE(prices.floorFromColumn);
    EXPECT_TRUE(prices.skipAtFloor);
    EXPECT_TRUE(prices.dropBuyNow);
    check.setChecked(false);
    EXPECT_FALSE(p.prices().stepDown) << "closed panel";
}

} // namespace
