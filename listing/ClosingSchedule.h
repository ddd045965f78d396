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

// A closing slot as the seller chose it: the date and the hour the listing ends in (the hour
// from `hour` to `hour` + 1). Rows of the lists move when they are rebuilt; a slot does not.
struct Slot {
    QDate date;
    int hour = -1;
    bool isValid() const { return date.isValid() && hour >= 0 && hour < 24; }
    bool operator==(const Slot& o) const { return date == o.date && hour == o.hour; }
};

// The slot the lists offer at `now` (same rules as the lists above).
bool isOffered(const QDateTime& now, const Slot& slot);
// "17日(金):12/17 PM１１時～深夜０時".
QString slotLabel(const Slot& slot);
QString dateLabel(const QDate& date);

// The slot for the next item set and the jitter phase after it: the chosen slot, the hour after
// it, the hour before it, and again the chosen one; a neighbour the lists do not offer is
// replaced by the one on the other side.
Slot nextSlot(const Slot& chosen, bool swayOn, int& jitterPhase, const std::function<bool(const Slot&)>& offered);

} // namespace zk::closing
