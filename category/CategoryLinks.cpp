#include "category/CategoryLinks.h"

#include "platform/ProfileFile.h"

#include <optional>

namespace zk::category {
namespace {

const QString kSection = QStringLiteral("LINK");

std::optional<int> decimalIndex(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return std::nullopt;
    bool ok = false;
    const int value = t.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

void CategoryLinks::setEntries(const QStringList& lines) {
    exists_ = true;
    targets_.clear();
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        const std::optional<int> key = decimalIndex(line.left(eq));
        const std::optional<int> value = decimalIndex(line.mid(eq + 1));
        if (key && value && !targets_.contains(*key)) targets_.insert(*key, *value);
    }
}

void CategoryLinks::load(const QString& iniPath) {
    exists_ = false;
    targets_.clear();
    ProfileFile ini(iniPath);
    if (!ini.exists() || !ini.load() || !ini.hasSection(kSection)) return;
    setEntries(ini.readSection(kSection));
}

} // namespace zk::category
