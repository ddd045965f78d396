#include "listing/ClosingSchedule.h"

#include <functional>

namespace zk::closing {
namespace {

const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

const char* const kTimeLabels[24] = {
    "AM　０時～AM　１時", "AM　１時～AM　２時", "AM　２時～AM　３時", "AM　３時～AM　４時",
    "AM　４時～AM　５時", "AM　５時～AM　６時", "AM　６時～AM　７時", "AM　７時～AM　８時",
    "AM　８時～AM　９時", "AM　９時～AM１０時", "AM１０時～AM１１時", "AM１１時～AM１２時",
    "PM　０時～PM　１時", "PM　１時～PM　２時", "PM　２時～PM　３時", "PM　３時～PM　４時",
    "PM　４時～PM　５時", "PM　５時～PM　６時", "PM　６時～PM　７時", "PM　７時～PM　８時",
    "PM　８時～PM　９時", "PM　９時～PM１０時", "PM１０時～PM１１時", "PM１１時～深夜０時",
};

QList<int> range(int from, int to) {
    QList<int> hours;
    for (int h = from; h <= to; ++h) hours << h;
    return hours;
}

} // namespace

int dateCount(const QDateTime& now) { return now.time().hour() >= 13 ? 7 : 6; }

QStringList dateLabels(const QDateTime& now) {
    QStringList labels;
    QDate d = now.date().addDays(2);
    for (int i = 0; i < dateCount(now); ++i, d = d.addDays(1))
        labels << dateLabel(d);
    return labels;
}

QString timeLabel(int slot) { return slot >= 0 && slot < 24 ? QString::fromUtf8(kTimeLabels[slot]) : QString(); }

QList<int> edgeTimeSlots(const QDateTime& now, bool firstDate) {
    int h = now.addSecs(12 * 3600).time().hour();
    if (firstDate) return range(h == 0 ? 23 : h, 23);
    return range(0, (h == 0 ? 24 : h) - 1);
}

QList<int> timeSlots(const QDateTime& now, int dateIndex, int count) {
    if (dateIndex == 0) return edgeTimeSlots(now, true);
    if (dateIndex == count - 1) return edgeTimeSlots(now, false);
    return range(0, 23);
}

bool isOffered(const QDateTime& now, const Slot& slot) {
    if (!slot.isValid()) return false;
    const int count = dateCount(now);
    const int index = int(now.date().addDays(2).daysTo(slot.date));
    if (index < 0 || index >= count) return false;
    return timeSlots(now, index, count).contains(slot.hour);
}

QString dateLabel(const QDate& d) {
    return QString::asprintf("%d日(%s):%02d/%02d", d.day(), kWeekdays[d.dayOfWeek() % 7], d.month(), d.day());
}

QString slotLabel(const Slot& slot) { return dateLabel(slot.date) + " " + timeLabel(slot.hour); }

namespace {

Slot shifted(const Slot& slot, int hours) {
    const QDateTime start = QDateTime(slot.date, QTime(slot.hour, 0)).addSecs(3600 * hours);
    return {start.date(), start.time().hour()};
}

} // namespace

Slot nextSlot(const Slot& chosen, bool swayOn, int& phase, const std::function<bool(const Slot&)>& offered) {
    if (!swayOn || !chosen.isValid()) return chosen;
    if (phase == 0) {
        phase = 1;
        return chosen;
    }
    if (phase == 1) {
        phase = -1;
        const Slot later = shifted(chosen, 1);
        if (offered(later)) return later;
        // Nothing later is offered (the last hour of the last date): one hour earlier instead.
    }
    phase = 0;
    const Slot earlier = shifted(chosen, -1);
    if (offered(earlier)) return earlier;
    const Slot later = shifted(chosen, 1);
    return offered(later) ? later : chosen;
}

} // namespace zk::closing
