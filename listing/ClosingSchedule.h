#pragma once
// The closing dates and hours a listing can choose, as the site offers them: dates from two days
// ahead (six of them, seven from 13:00), hourly slots whose range depends on the date, and the
// jitter that spreads consecutive listings over three neighbouring hours.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk::closing {

int dateCount(const QDateTime& now);
// "17日(金):12/17" for each offered date, in order.
QStringList dateLabels(const QDateTime& now);
// "AM　０時～AM　１時" ... "PM１１時～深夜０時" for slot 0 ... 23.
QString timeLabel(int slot);
// The hourly slots of the time list: for the first date from the hour twelve hours ahead to 23,
// for the last date from 0 to the hour before that, for the dates between all 24.
QList<int> timeSlots(const QDateTime& now, int dateIndex, int dateCount);
// The slots the time list shows after a rebuild for the first or last date (`FillClosingTimes`):
// the first-date range when dateIndex is 0, the last-date range for any other index or none.
QList<int> edgeTimeSlots(const QDateTime& now, bool firstDate);

struct Slot {
    int date = -1;
    int time = -1;
    bool operator==(const Slot& o) const { return date == o.date && time == o.time; }
};

// The slot for the next item set and the jitter phase after it. `rowsOfDate` gives the number of
// time rows the list has for a date index.
Slot nextSlot(const Slot& chosen, bool swayOn, int& jitterPhase, int dateCount,
              const std::function<int(int)>& rowsOfDate);

} // namespace zk::closing
