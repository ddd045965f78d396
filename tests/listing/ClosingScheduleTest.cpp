// Closing dates, hourly slots and the jitter.
#include "listing/ClosingSchedule.h"
#include "listing/ClosingTimePanel.h"
#include "listing/Texts.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace closing = zk::closing;
using zk::MessageService;

namespace {

QDateTime at(int hour, int minute = 30, int day = 15) { return QDateTime(QDate(2026, 12, day), QTime(hour, minute)); }

QList<int> range(int from, int to) {
    QList<int> r;
    for (int h = from; h <= to; ++h) r << h;
    return r;
}

// A December 2026 slot. At 10:30 on Tuesday the 15th the dates are the 17th to the 22nd; the
// 17th offers 22 and 23, the 22nd 0 to 21, the others all hours.
closing::Slot slot(int day, int hour) { return {QDate(2026, 12, day), hour}; }

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

TEST(Jitter, CyclesChosenLaterEarlierOverWhatTheListsOffer) {
    const auto offered = [](const closing::Slot& s) { return closing::isOffered(at(10), s); };
    int phase = 0;
    for (int hour : {10, 11, 9, 10}) EXPECT_EQ(closing::nextSlot(slot(19, 10), true, phase, offered), slot(19, hour));
    int off = 1;
    EXPECT_EQ(closing::nextSlot(slot(19, 10), false, off, offered), slot(19, 10));
    EXPECT_EQ(off, 1);

    struct Case {
        const char* why;
        closing::Slot chosen;
        int phase;
        closing::Slot expected;
        int phaseAfter;
    };
    const Case cases[] = {
        {"the hour before the first offered hour is not offered: one later", slot(17, 22), -1, slot(17, 23), 0},
        {"the hour before midnight is the previous date's last", slot(19, 0), -1, slot(18, 23), 0},
        {"the first date offers its last hour", slot(18, 0), -1, slot(17, 23), 0},
        {"after a date's last hour comes the next date's first", slot(19, 23), 1, slot(20, 0), -1},
        {"after the last offered hour: one earlier, and the cycle restarts", slot(22, 21), 1, slot(22, 20), 0},
    };
    for (const Case& c : cases) {
        int p = c.phase;
        EXPECT_EQ(closing::nextSlot(c.chosen, true, p, offered), c.expected) << c.why;
        EXPECT_EQ(p, c.phaseAfter) << c.why;
    }
}

TEST(ClosingSlots, OfferedAsTheListsAreBuilt) {
    EXPECT_TRUE(closing::isOffered(at(12, 59), slot(17, 23)));
    EXPECT_FALSE(closing::isOffered(at(12, 59), slot(23, 0))); // a seventh date only from 13:00
    EXPECT_TRUE(closing::isOffered(at(13, 0), slot(23, 0)));
    EXPECT_EQ(closing::slotLabel(slot(17, 23)), QString::fromUtf8("17日(木):12/17 PM１１時～深夜０時"));
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

// The lists rebuilt by the minute timer at 13:00 (a seventh date), on the hour (the first and
// last dates' hours move) and at midnight (the dates move on): the seller's date and hour stay
// chosen wherever their rows went, or are cleared and said when they are no longer offered.
TEST_F(ClosingPanelTest, RebuildsKeepTheChosenDateAndHourOrClearThemAndSaySo) {
    struct Case {
        const char* why;
        QDateTime before, after;
        closing::Slot chosen;
        bool kept;
    };
    const Case cases[] = {
        {"13:00, first date, last hour", at(12, 59), at(13, 0), slot(17, 23), true},
        {"13:00, a middle date keeps its day", at(12, 59), at(13, 0), slot(20, 10), true},
        {"15:00, the first date's hours start later", at(14, 59), at(15, 0), slot(17, 5), true},
        {"15:00, the first date's first hour has gone", at(14, 59), at(15, 0), slot(17, 2), false},
        {"15:00, the last date's hours grow", at(14, 59), at(15, 0), slot(23, 1), true},
        {"midnight, the first date has gone", at(23, 59), at(0, 0, 16), slot(17, 23), false},
        {"midnight, a middle date stays", at(23, 59), at(0, 0, 16), slot(20, 4), true},
        {"a minute without change", at(13, 30), at(13, 31), slot(17, 5), true},
    };
    MessageService::instance().setAnswers({});
    for (const Case& t : cases) {
        SCOPED_TRACE(t.why);
        MessageService::instance().clearTranscript();
        zk::clock::set(t.before);
        zk::ClosingTimePanel panel(c);
        panel.FillClosingDates();
        c.ClosingDate->setCurrentIndex(panel.dateRow(t.chosen.date));
        panel.ClosingDateChange();
        c.ClosingTime->setCurrentIndex(panel.timeRow(t.chosen));
        panel.ClosingTimeChange();
        ASSERT_EQ(panel.ChosenSlot(), t.chosen);
        const QString shownDate = c.ClosingDate->currentText();
        const QString shownTime = c.ClosingTime->currentText();

        zk::clock::set(t.after);
        panel.Timer3Timer();
        EXPECT_EQ(panel.ClosingDateCount, closing::dateCount(t.after));
        EXPECT_EQ(c.ClosingDate->count(), closing::dateCount(t.after));
        QStringList notices;
        for (const auto& entry : MessageService::instance().transcript()) notices << entry["text"].toString();
        if (t.kept) {
            EXPECT_EQ(panel.ChosenSlot(), t.chosen);
            EXPECT_EQ(c.ClosingDate->currentText(), shownDate);
            EXPECT_EQ(c.ClosingTime->currentText(), shownTime);
            EXPECT_EQ(panel.NextClosingSlot(), t.chosen); // jitter phase 0: the chosen slot itself
            EXPECT_TRUE(notices.isEmpty()) << notices.join(" / ").toStdString();
        } else {
            EXPECT_FALSE(panel.ChosenSlot().isValid());
            EXPECT_EQ(c.ClosingTime->currentIndex(), -1);
            EXPECT_EQ(notices, QStringList{zk::listing::texts::ClosingChoiceGone.arg(closing::slotLabel(t.chosen))});
        }
    }
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
