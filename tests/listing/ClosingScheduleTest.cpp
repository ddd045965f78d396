// Closing dates, hourly slots and the jitter.
#include "listing/ClosingSchedule.h"

#include <gtest/gtest.h>

namespace closing = zk::closing;

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
