#pragma once
// The rules of the form filling that need no browser: which fields are filled, the keys that
// choose the closing date, and the numbers that list and radio values must be.
#include "fields/Fields.h"

#include <QByteArray>
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

} // namespace zk::fields
