#include "site/ClosingSlots.h"

#include <QStringList>

namespace zk::site {
namespace {

const QStringList& weekdayNames() {
    // Index 0 is Sunday.
    static const QStringList names{"日", "月", "火", "水", "木", "金", "土"};
    return names;
}

const QStringList& timeLabels() {
    static const QStringList labels{
        "AM　０時～AM　１時", "AM　１時～AM　２時", "AM　２時～AM　３時", "AM　３時～AM　４時",
        "AM　４時～AM　５時", "AM　５時～AM　６時", "AM　６時～AM　７時", "AM　７時～AM　８時",
        "AM　８時～AM　９時", "AM　９時～AM１０時", "AM１０時～AM１１時", "AM１１時～AM１２時",
        "PM　０時～PM　１時", "PM　１時～PM　２時", "PM　２時～PM　３時", "PM　３時～PM　４時",
        "PM　４時～PM　５時", "PM　５時～PM　６時", "PM　６時～PM　７時", "PM　７時～PM　８時",
        "PM　８時～PM　９時", "PM　９時～PM１０時", "PM１０時～PM１１時", "PM１１時～深夜０時"};
    return labels;
}

std::vector<int> hourRange(int from, int to) {
    std::vector<int> hours;
    for (int h = from; h <= to; ++h) hours.push_back(h);
    return hours;
}

} // namespace

QString closingDateLabel(const QDate& date) {
    return QString::asprintf("%d日(", date.day()) + weekdayNames().at(date.dayOfWeek() % 7) +
           QString::asprintf("):%02d/%02d", date.month(), date.day());
}

QString closingTimeLabel(int hour) {
    if (hour < 0 || hour >= timeLabels().size()) return {};
    return timeLabels().at(hour);
}

std::vector<ClosingDay> closingDays(const QDateTime& now) {
    const int count = now.time().hour() >= 13 ? 7 : 6;
    // The hour twelve hours ahead bounds the first and the last date.
    const int limit = now.addSecs(12 * 3600).time().hour();
    std::vector<ClosingDay> days;
    QDate date = now.date().addDays(2);
    for (int i = 0; i < count; ++i, date = date.addDays(1)) {
        ClosingDay day;
        day.date = date;
        day.label = closingDateLabel(date);
        if (i == 0)
            day.hours = hourRange(limit == 0 ? 23 : limit, 23);
        else if (i == count - 1)
            day.hours = hourRange(0, (limit == 0 ? 24 : limit) - 1);
        else
            day.hours = hourRange(0, 23);
        days.push_back(day);
    }
    return days;
}

bool isOfferedSlot(const QDateTime& now, const QDate& date, int hour) {
    for (const ClosingDay& day : closingDays(now)) {
        if (day.date != date) continue;
        for (int h : day.hours)
            if (h == hour) return true;
        return false;
    }
    return false;
}

} // namespace zk::site
