// The site's closing lists against the panel's own, at every hour of a day and around the turns
// that change them: a slot the panel offers and the site does not could not be listed as chosen.
#include "listing/ClosingSchedule.h"
#include "site/ClosingSlots.h"

#include <gtest/gtest.h>

namespace {

std::vector<QDateTime> moments() {
    std::vector<QDateTime> result;
    for (const QDate day : {QDate(2026, 12, 7), QDate(2026, 12, 29), QDate(2027, 2, 26), QDate(2028, 2, 27)})
        for (int hour = 0; hour < 24; ++hour)
            for (int minute : {0, 1, 30, 59}) result.push_back(QDateTime(day, QTime(hour, minute, minute == 59 ? 59 : 0)));
    return result;
}

} // namespace

TEST(ClosingAgreement, SiteOffersTheSameDatesAndHoursAsThePanel) {
    for (const QDateTime& now : moments()) {
        const auto days = zk::site::closingDays(now);
        const int count = zk::closing::dateCount(now);
        ASSERT_EQ(static_cast<int>(days.size()), count) << now.toString(Qt::ISODate).toStdString();
        const QStringList labels = zk::closing::dateLabels(now);
        ASSERT_EQ(labels.size(), count);
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(days[i].label, labels[i]) << now.toString(Qt::ISODate).toStdString();
            const QList<int> panel = zk::closing::timeSlots(now, i, count);
            EXPECT_EQ(days[i].hours, std::vector<int>(panel.begin(), panel.end()))
                << now.toString(Qt::ISODate).toStdString() << " date " << i;
        }
        // The rebuild for the first or last date, as the panel does it when the date changes.
        const QList<int> first = zk::closing::edgeTimeSlots(now, true);
        const QList<int> lastDate = zk::closing::edgeTimeSlots(now, false);
        EXPECT_EQ(days.front().hours, std::vector<int>(first.begin(), first.end()));
        EXPECT_EQ(days.back().hours, std::vector<int>(lastDate.begin(), lastDate.end()));
    }
}

TEST(ClosingAgreement, HourLabelsAreTheSame) {
    for (int h = 0; h < 24; ++h) EXPECT_EQ(zk::site::closingTimeLabel(h), zk::closing::timeLabel(h)) << h;
}
