#pragma once
// The closing dates and hours the listing form offers, by the same rules as the panel's lists
// (the seller chooses on the panel what the form must then offer): dates from two days ahead
// (six, or seven from 13:00), the first date from the hour twelve hours ahead to 23, the last date
// up to that hour, the others whole. Option values are the date (yyyy-MM-dd) and the hour.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <vector>

namespace zk::site {

struct ClosingDay {
    QDate date;
    QString label;            // e.g. "17日(金):12/17"
    std::vector<int> hours;   // the hour slots offered for this date, ascending
};

std::vector<ClosingDay> closingDays(const QDateTime& now);
QString closingDateLabel(const QDate& date);
// Label of the slot from hour to hour + 1 (0..23).
QString closingTimeLabel(int hour);
// Whether date and hour are offered at that moment.
bool isOfferedSlot(const QDateTime& now, const QDate& date, int hour);

} // namespace zk::site
