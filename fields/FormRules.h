#pragma once
// The rules of the form filling that need no browser: which fields are filled, the keys that
// choose the closing date, and the numbers that list and radio values must be.
#include "fields/Fields.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace zk::fields {

// The field is left alone: a price field while the prices come from elsewhere (relisting, or
// a workbook price column), or a field without name, kind or value.
bool skipsField(const TFieldDefs& defs, int index, bool skipPrices);
// Moving to the top of the closing-date list is eight presses up; the date is then that many
// presses down ("{DOWN 0}" leaves the first date).
inline QByteArray closingDateTopKeys() { return "{UP 8}"; }
QByteArray closingDateKeys(int steps);
// A list index or a radio position as FieldsDefine.ini writes it: decimal digits, an optional
// sign; none when the text is no such number.
std::optional<int> fieldNumber(const QString& value);

// What an option of the page's closing lists stands for. A date: its value as yyyy-MM-dd, else
// the "MM/dd" its label ends with, in the year that puts it nearest to `today`; invalid when
// neither. An hour: its value as a number from 0 to 23, else the hour its label begins with
// ("AM　９時～…", "PM１１時～…"); -1 when neither.
QDate closingOptionDate(const QString& value, const QString& text, const QDate& today);
int closingOptionHour(const QString& value, const QString& text);

// The option for a wanted date (Julian day) or hour among what the options stand for
// (std::nullopt: unreadable): the one that equals it, else the nearest (the later one of two
// as near), not exact; index -1 when no option is readable.
struct OptionChoice {
    int index = -1;
    bool exact = false;
};
OptionChoice chooseOption(const QList<std::optional<qint64>>& options, qint64 wanted);

} // namespace zk::fields
