#pragma once
// Appends a text to the description field of the page the browser shows.
#include "Host.h"

#include <QString>

namespace zk::textplus {

enum class AppendResult { Appended, NoBrowser, NoField, Failed };

// `field` is the description element's name; the first form of the page that holds it gets the
// text after its present value.
AppendResult appendToDescription(Host& page, const QString& field, const QString& text);

// The description element's name from FieldsDefine.ini in the data folder; empty when not set.
QString descriptionFieldName(const QString& dataFolder);

} // namespace zk::textplus
