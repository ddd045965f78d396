#pragma once
// The listing form's fields beyond title, description and prices (the fixed answers a seller
// sets up once), the bank and payment blocks, and the checks a submitted form must pass.
#include "site/SiteState.h"

#include <QDateTime>
#include <string>
#include <utility>
#include <vector>

namespace zk::site {

enum class FieldKind { Text, Check, Combo, Radio };

struct FixedField {
    std::string name;
    FieldKind kind;
    std::string label;
    // Combo and radio: (value, label) in page order; check: one (value, label).
    std::vector<std::pair<std::string, std::string>> options;
};

const std::vector<FixedField>& fixedFields();

struct BlockKind {
    std::string key;            // "bank" or "pay": the count field is key + "_count"
    std::string title;
    int defaultCount;
    int maxCount;
    // (field name stem, label); the field of block n is stem + n
    std::vector<std::pair<std::string, std::string>> parts;
};

const BlockKind& bankBlocks();
const BlockKind& paymentBlocks();
// The number of blocks the form held, within the kind's bounds.
int blockCount(const BlockKind& kind, const FieldMap& fields);

// Checks a submitted listing and, when it passes, fills `item` from it. `shownAt` is when the
// form's closing lists were built: a slot offered then or now is accepted.
std::vector<std::string> validateListing(const FieldMap& fields, const std::string& category,
                                         const QDateTime& now, const QDateTime& shownAt, Item& item);
// Prices as the form takes them: half-width digits only, after trimming. -1 when not a price.
long long parsePrice(const std::string& text);
std::string trimmed(const std::string& text);

} // namespace zk::site
