// The closing lists must offer exactly what the panel's own lists offer at the same moment,
// since the panel picks the date by position and the hour by index.
#include "site/ClosingSlots.h"

#include <gtest/gtest.h>

using zk::site::closingDateLabel;
using zk::site::closingDays;
using zk::site::closingTimeLabel;
using zk::site::isOfferedSlot;

namespace {

QDateTime at(const char* text) { return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate); }

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int h = from; h <= to; ++h) v.push_back(h);
    return v;
}

} // namespace

TEST(ClosingSlots, SixDatesBeforeOnePmAndSevenFromOnePmStartingTwoDaysAhead) {
    const auto before = closingDays(at("2026-12-07T12:59:59"));
    ASSERT_EQ(before.size(), 6u);
    EXPECT_EQ(before.front().date, QDate(2026, 12, 9));
    EXPECT_EQ(before.back().date, QDate(2026, 12, 14));

    const auto after = closingDays(at("2026-12-07T13:00:00"));
    ASSERT_EQ(after.size(), 7u);
    EXPECT_EQ(after.front().date, QDate(2026, 12, 9));
    EXPECT_EQ(after.back().date, QDate(2026, 12, 15));
}

TEST(ClosingSlots, FirstDateStartsTwelveHoursAhead) {
    EXPECT_EQ(closingDays(at("2026-12-07T10:15:00")).front().hours, (std::vector<int>{22, 23}));
    EXPECT_EQ(closingDays(at("2026-12-07T11:59:00")).front().hours, (std::vector<int>{23}));
    // At 12:xx the hour ahead wraps to 0, which the panel turns into the last slot only.
    EXPECT_EQ(closingDays(at("2026-12-07T12:30:00")).front().hours, (std::vector<int>{23}));
    EXPECT_EQ(closingDays(at("2026-12-07T13:05:00")).front().hours, range(1, 23));
    EXPECT_EQ(closingDays(at("2026-12-07T23:59:00")).front().hours, range(11, 23));
    EXPECT_EQ(closingDays(at("2026-12-07T00:00:00")).front().hours, range(12, 23));
}

TEST(ClosingSlots, LastDateEndsTwelveHoursAheadAndMiddleDatesAreWhole) {
    const auto midnight = closingDays(at("2026-12-07T00:10:00"));
    EXPECT_EQ(midnight.back().hours, range(0, 11));
    for (size_t i = 1; i + 1 < midnight.size(); ++i) EXPECT_EQ(midnight[i].hours, range(0, 23)) << i;
    EXPECT_EQ(closingDays(at("2026-12-07T12:00:00")).back().hours, range(0, 23));
    EXPECT_EQ(closingDays(at("2026-12-07T13:00:00")).back().hours, (std::vector<int>{0}));
    EXPECT_EQ(closingDays(at("2026-12-07T22:40:00")).back().hours, range(0, 9));
}

TEST(ClosingSlots, LabelsAreThePanelsTexts) {
    EXPECT_EQ(closingDateLabel(QDate(2021, 12, 17)), QString("17日(金):12/17"));
    EXPECT_EQ(closingDateLabel(QDate(2026, 1, 4)), QString("4日(日):01/04"));
    EXPECT_EQ(closingTimeLabel(0), QString("AM　０時～AM　１時"));
    EXPECT_EQ(closingTimeLabel(9), QString("AM　９時～AM１０時"));
    EXPECT_EQ(closingTimeLabel(23), QString("PM１１時～深夜０時"));
    EXPECT_TRUE(closingTimeLabel(24).isEmpty());
    EXPECT_TRUE(closingTimeLabel(-1).isEmpty());
    const auto days = closingDays(at("2026-12-07T10:00:00"));
    EXPECT_EQ(days[0].label, QString("9日(水):12/09"));
}

TEST(ClosingSlots, DatesRunOverMonthAndYearEnds) {
    const auto days = closingDays(at("2026-12-29T14:00:00"));
    ASSERT_EQ(days.size(), 7u);
    EXPECT_EQ(days[0].date, QDate(2026, 12, 31));
    EXPECT_EQ(days[1].date, QDate(2027, 1, 1));
    EXPECT_EQ(days[1].label, QString("1日(金):01/01"));
}

TEST(ClosingSlots, OnlyOfferedSlotsAreAccepted) {
    const QDateTime now = at("2026-12-07T10:30:00");
    EXPECT_TRUE(isOfferedSlot(now, QDate(2026, 12, 9), 22));
    EXPECT_FALSE(isOfferedSlot(now, QDate(2026, 12, 9), 21));
    EXPECT_TRUE(isOfferedSlot(now, QDate(2026, 12, 10), 0));
    EXPECT_TRUE(isOfferedSlot(now, QDate(2026, 12, 14), 21));
    EXPECT_FALSE(isOfferedSlot(now, QDate(2026, 12, 14), 22));
    EXPECT_FALSE(isOfferedSlot(now, QDate(2026, 12, 8), 12));
    EXPECT_FALSE(isOfferedSlot(now, QDate(2026, 12, 15), 12));
    EXPECT_FALSE(isOfferedSlot(now, QDate(2026, 12, 10), 24));
}
