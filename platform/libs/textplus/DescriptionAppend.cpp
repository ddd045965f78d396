#include "DescriptionAppend.h"

#include "platform/ProfileFile.h"

namespace zk::textplus {

namespace {
// More forms than any listing or relist page holds.
constexpr int MaxForms = 16;
} // namespace

AppendResult appendToDescription(Host& page, const QString& field, const QString& text) {
    if (!page.connected()) return AppendResult::NoBrowser;
    // The page may have changed since the document was last fetched.
    if (page.refreshPage() != 0) return AppendResult::Failed;
    for (int form = 0; form < MaxForms; ++form) {
        const QString present = page.formValue(form, field);
        const int result = page.setFormValue(form, field, present + text);
        if (result == 0) return AppendResult::Appended;
        if (result != -1) return AppendResult::Failed; // a wait that timed out, or a lost browser
    }
    return AppendResult::NoField;
}

QString descriptionFieldName(const QString& dataFolder) {
    ProfileFile ini(dataFolder + QStringLiteral("FieldsDefine.ini"));
    if (!ini.load()) return {};
    return ini.readString(QStringLiteral("SYSTEM"), QStringLiteral("SHOUHIN_SETUMEI")).trimmed();
}

} // namespace zk::textplus
