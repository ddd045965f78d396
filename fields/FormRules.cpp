#include "fields/FormRules.h"

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

} // namespace zk::fields
