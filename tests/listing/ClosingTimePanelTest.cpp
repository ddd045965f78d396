// The closing time panel on real widgets: its lists rebuilt as time passes, the jitter reset and
// the panel prices.
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

// A December 2026 slot. At 10:30 on Tuesday the 15th the dates are the 17th to the 22nd; the
// 17th offers 22 and 23, the 22nd 0 to 21, the others all hours.
closing::Slot slot(int day, int hour) { return {QDate(2026, 12, day), hour}; }

} // namespace

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
