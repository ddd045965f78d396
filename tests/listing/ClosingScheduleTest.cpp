// Closing dates, hourly slots and the jitter.
#include "listing/ClosingSchedule.h"
#include "listing/ClosingTimePanel.h"
#include "platform/Clock.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace closing = zk::closing;

namespace {

QDateTime at(int hour, int minute = 30, int day = 15) { return QDateTime(QDate(2026, 12, day), QTime(hour, minute)); }

QList<int> range(int from, int to) {
    QList<int> r;
    for (int h = from; h <= to; ++h) r << h;
    return r;
}

} // namespace

TEST(ClosingDates, SixFromTwoDaysAheadSevenFromOnePm) {
    EXPECT_EQ(closing::dateLabels(at(12, 59)).size(), 6);
    EXPECT_EQ(closing::dateLabels(at(13, 0)).size(), 7);
    // 2026-12-15 is a Tuesday: the first date is Thursday the 17th.
    EXPECT_EQ(closing::dateLabels(at(9)).first(), QString::fromUtf8("17日(木):12/17"));
    EXPECT_EQ(closing::dateLabels(QDateTime(QDate(2026, 12, 30), QTime(14, 0))).at(1),
              QString::fromUtf8("2日(土):01/02"));
    EXPECT_EQ(closing::timeLabel(9), QString::fromUtf8("AM　９時～AM１０時"));
    EXPECT_EQ(closing::timeLabel(23), QString::fromUtf8("PM１１時～深夜０時"));
}

TEST(ClosingTimes, RangesByDateAndHour) {
    EXPECT_EQ(closing::edgeTimeSlots(at(10), true), range(22, 23));
    EXPECT_EQ(closing::edgeTimeSlots(at(12), true), range(23, 23));
    EXPECT_EQ(closing::edgeTimeSlots(at(13), true), range(1, 23));
    EXPECT_EQ(closing::edgeTimeSlots(at(23), true), range(11, 23));
    EXPECT_EQ(closing::edgeTimeSlots(at(0), false), range(0, 11));
    EXPECT_EQ(closing::edgeTimeSlots(at(12), false), range(0, 23));
    EXPECT_EQ(closing::timeSlots(at(9), 3, 6), range(0, 23));
}

TEST(Jitter, CyclesChosenLaterEarlier) {
    int phase = 0;
    auto rows = [](int) { return 24; };
    const closing::Slot chosen{2, 10};
    EXPECT_EQ(closing::nextSlot(chosen, true, phase, 6, rows), (closing::Slot{2, 10}));
    EXPECT_EQ(closing::nextSlot(chosen, true, phase, 6, rows), (closing::Slot{2, 11}));
    EXPECT_EQ(closing::nextSlot(chosen, true, phase, 6, rows), (closing::Slot{2, 9}));
    EXPECT_EQ(closing::nextSlot(chosen, true, phase, 6, rows), (closing::Slot{2, 10}));
    int off = 1;
    EXPECT_EQ(closing::nextSlot(chosen, false, off, 6, rows), chosen);
    EXPECT_EQ(off, 1);
}

TEST(Jitter, CrossesDatesAtTheEdges) {
    auto rows = [](int) { return 24; };
    int phase = -1;
    EXPECT_EQ(closing::nextSlot({0, 0}, true, phase, 6, rows), (closing::Slot{0, 1}));
    phase = -1;
    EXPECT_EQ(closing::nextSlot({2, 0}, true, phase, 6, rows), (closing::Slot{1, 23}));
    phase = 1;
    EXPECT_EQ(closing::nextSlot({3, 23}, true, phase, 6, rows), (closing::Slot{4, 0}));
    EXPECT_EQ(phase, -1);
    // Last slot of the last date: one hour earlier instead, and the cycle restarts.
    phase = 1;
    EXPECT_EQ(closing::nextSlot({5, 23}, true, phase, 6, rows), (closing::Slot{5, 22}));
    EXPECT_EQ(phase, 0);
}

TEST(Jitter, NeverLeavesTheRowsADateOffers) {
    // The first date at 10:xx offers two rows (22 and 23): the hour before slot 0 of date 1 is
    // that date's last row, not row 23.
    auto rows = [](int date) { return date == 0 ? 2 : 24; };
    int phase = -1;
    EXPECT_EQ(closing::nextSlot({1, 0}, true, phase, 6, rows), (closing::Slot{0, 1}));
    auto single = [](int) { return 1; };
    phase = -1;
    EXPECT_EQ(closing::nextSlot({0, 0}, true, phase, 6, single), (closing::Slot{0, 0}));
}

class ClosingPanelTest : public ::testing::Test {
protected:
    ClosingPanelTest() {
        c.ClosingDate = new QComboBox(&host);
        c.ClosingTime = new QComboBox(&host);
        c.TimeSway = new zk::RadioGroup(&host);
        c.TimeSway->setItems({"する", "しない"});
        c.TimeSway->setItemIndex(0);
        c.TempPriceSelect = new zk::RadioGroup(&host);
        c.TempPriceSelect->setItems({"使用", "不使用"});
        c.TempPriceSelect->setItemIndex(1);
        c.ManualPrice = new QGroupBox(&host);
        c.SokketuCheckBox = new QCheckBox(&host);
        for (int i = 0; i < 3; ++i) {
            c.PriceRadio[i] = new QRadioButton(c.ManualPrice);
            c.StartPrice[i] = new QLineEdit(&host);
            c.BuyPrice[i] = new QLineEdit(&host);
        }
        c.PriceRadio[0]->setChecked(true);
    }
    ~ClosingPanelTest() override { zk::clock::set({}); }
    QWidget host;
    zk::ClosingTimeControls c;
};

TEST_F(ClosingPanelTest, RefreshAtOnePmMovesTheDateUpAndKeepsRowZero) {
    zk::clock::set(at(12, 59));
    zk::ClosingTimePanel panel(c);
    panel.FillClosingDates();
    EXPECT_EQ(c.ClosingDate->currentIndex(), -1);
    c.ClosingDate->setCurrentIndex(3);
    zk::clock::set(at(13, 0));
    panel.Timer3Timer();
    EXPECT_EQ(panel.ClosingDateCount, 7);
    EXPECT_EQ(c.ClosingDate->currentIndex(), 2);
    c.ClosingDate->setCurrentIndex(0);
    panel.Timer3Timer();
    EXPECT_EQ(c.ClosingDate->currentIndex(), 0);
}

TEST_F(ClosingPanelTest, DateChangeRebuildsTimesAndResetsTheJitter) {
    zk::clock::set(at(10));
    zk::ClosingTimePanel panel(c);
    panel.FillClosingDates();
    c.ClosingDate->setCurrentIndex(0);
    panel.JitterPhase = 1;
    panel.ClosingDateChange();
    EXPECT_EQ(c.ClosingTime->count(), 2);
    EXPECT_EQ(panel.JitterPhase, 0);
    c.ClosingDate->setCurrentIndex(2);
    panel.ClosingDateChange();
    EXPECT_EQ(c.ClosingTime->count(), 24);
    c.ClosingDate->setCurrentIndex(5);
    panel.ClosingDateChange();
    EXPECT_EQ(c.ClosingTime->count(), 22);
    EXPECT_EQ(c.ClosingTime->currentIndex(), -1);
}

TEST_F(ClosingPanelTest, PanelPricesFollowTheChosenRowOnlyWhenUsed) {
    zk::ClosingTimePanel panel(c);
    c.StartPrice[1]->setText("1500");
    c.BuyPrice[1]->setText("abc");
    c.PriceRadio[1]->setChecked(true);
    panel.PriceRadioClick(2);
    EXPECT_EQ(panel.PanelStartPrice(), ""); // "不使用"
    c.TempPriceSelect->setItemIndex(0);
    panel.TempPriceSelectClick();
    EXPECT_FALSE(c.ManualPrice->isHidden());
    EXPECT_EQ(panel.PanelStartPrice(), "1500");
    EXPECT_EQ(panel.PanelBuyPrice(), "abc");
    EXPECT_FALSE(c.StartPrice[0]->isEnabled());
    EXPECT_TRUE(c.BuyPrice[1]->font().bold());
    c.SokketuCheckBox->setChecked(true);
    panel.SokketuCheckBoxClick();
    EXPECT_FALSE(c.BuyPrice[1]->isEnabled());
    panel.PriceRadioClick(3);
    EXPECT_TRUE(c.BuyPrice[2]->isEnabled());
}
