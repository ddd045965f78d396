#include "fields/FormRules.h"

#include <QRegularExpression>
#include <cstdlib>

namespace zk::fields {

bool skipsField(const TFieldDefs& defs, int index, bool skipPrices) {
    if (index < 0 || index >= int(defs.FieldTable.size())) return true;
    const bool priceField = index == defs.StartPriceIndex || index == defs.BuyPriceIndex;
    if (priceField && (skipPrices || defs.PriceColumn >= 1)) return true;
    const TFieldDef& f = defs.FieldTable[size_t(index)];
    return f.Name.isEmpty() || f.Kind == fkUnknown || f.Value.isEmpty();
}

QByteArray closingDateKeys(int steps) { return "{DOWN " + QByteArray::number(steps) + "}"; }

std::optional<int> fieldNumber(const QString& value) {
    bool ok = false;
    const int n = value.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return n;
}

QDate closingOptionDate(const QString& value, const QString& text, const QDate& today) {
    const QDate iso = QDate::fromString(value.trimmed(), Qt::ISODate);
    if (iso.isValid()) return iso;
    static const QRegularExpression monthDay(QStringLiteral("(\\d{1,2})/(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch m = monthDay.match(text.normalized(QString::NormalizationForm_KC));
    if (!m.hasMatch()) return {};
    QDate best;
    for (int year = today.year() - 1; year <= today.year() + 1; ++year) {
        const QDate d(year, m.captured(1).toInt(), m.captured(2).toInt());
        if (d.isValid() && (!best.isValid() || std::llabs(d.daysTo(today)) < std::llabs(best.daysTo(today)))) best = d;
    }
    return best;
}

int closingOptionHour(const QString& value, const QString& text) {
    bool ok = false;
    const int n = value.trimmed().toInt(&ok, 10);
    if (ok) return n >= 0 && n < 24 ? n : -1;
    // Full-width digits and the ideographic space read as ASCII.
    static const QRegularExpression label(QStringLiteral("^\\s*(AM|PM)\\s*(\\d{1,2})時"));
    const QRegularExpressionMatch m = label.match(text.normalized(QString::NormalizationForm_KC));
    if (!m.hasMatch()) return -1;
    const int hour = m.captured(2).toInt() + (m.captured(1) == QLatin1String("PM") ? 12 : 0);
    return hour < 24 ? hour : -1;
}

OptionChoice chooseOption(const QList<std::optional<qint64>>& options, qint64 wanted) {
    OptionChoice best;
    qint64 bestDistance = 0;
    for (int i = 0; i < options.size(); ++i) {
        if (!options[i]) continue;
        if (*options[i] == wanted) return {i, true};
        const qint64 distance = std::llabs(*options[i] - wanted);
        if (best.index < 0 || distance < bestDistance ||
            (distance == bestDistance && *options[i] > *options[best.index])) {
            best.index = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace zk::fields
