#include "FieldsSettings.h"

#include "Texts.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>

namespace zk::optpanel {

namespace {

const QString System = QStringLiteral("SYSTEM");
const QString SectionNum = QStringLiteral("SECTION_NUM");
const QString Num = QStringLiteral("NUM");

QString key(const char* word, int number) { return QLatin1String(word) + QString::number(number); }

// The integer SYSTEM keys with their place in SystemKeys, in the order the program checks them.
struct IntegerKey {
    const char* name;
    int SystemKeys::*member;
};
const IntegerKey IntegerKeys[] = {
    {"KAISI_PRICE_SEC_POS", &SystemKeys::kaisiPriceSecPos},
    {"KAISI_PRICE_ITEM_POS", &SystemKeys::kaisiPriceItemPos},
    {"KIBOU_PRICE_SEC_POS", &SystemKeys::kibouPriceSecPos},
    {"KIBOU_PRICE_ITEM_POS", &SystemKeys::kibouPriceItemPos},
    {"BANK_NAME_NUM", &SystemKeys::bankNameNum},
    {"SONOTA_KESSAI_NUM", &SystemKeys::sonotaKessaiNum},
    {"BANK_DEFAULT_NUM", &SystemKeys::bankDefaultNum},
    {"KESSAI_DEFAULT_NUM", &SystemKeys::kessaiDefaultNum},
};

} // namespace

const QStringList FieldsSettings::Types = {QStringLiteral("TEXT"), QStringLiteral("CHECK"), QStringLiteral("COMBO"),
                                           QStringLiteral("RADIO")};

bool SystemKeys::operator==(const SystemKeys& o) const {
    if (shouhinTitle != o.shouhinTitle || shouhinSetumei != o.shouhinSetumei) return false;
    for (const IntegerKey& k : IntegerKeys)
        if (this->*k.member != o.*k.member) return false;
    return true;
}

bool FieldsSettings::load(const QString& path) {
    path_ = path;
    error_.clear();
    system = {};
    sections.clear();
    ProfileFile file(path);
    if (!file.load()) {
        error_ = texts::LoadFailed.arg(QFileInfo(path).fileName());
        return false;
    }
    system.shouhinTitle = file.readString(System, "SHOUHIN_TITLE");
    system.shouhinSetumei = file.readString(System, "SHOUHIN_SETUMEI");
    for (const IntegerKey& k : IntegerKeys) system.*k.member = file.readInteger(System, k.name, -1);

    loadedSectionNum_ = file.readInteger(System, SectionNum, -1);
    if (loadedSectionNum_ > MaxSections) {
        error_ = texts::TooManySections.arg(loadedSectionNum_).arg(MaxSections);
        return false;
    }
    for (int s = 1; s <= loadedSectionNum_; ++s) {
        const QString name = sectionName(s);
        const int num = file.readInteger(name, Num, 0);
        if (num > MaxFields) {
            error_ = texts::TooManyFields.arg(s).arg(num).arg(MaxFields);
            sections.clear();
            return false;
        }
        SectionEntry section;
        for (int i = 1; i <= num; ++i)
            section.fields.append({file.readString(name, key("NAME", i)), file.readString(name, key("TYPE", i)),
                                   file.readString(name, key("VALUE", i))});
        sections.append(section);
    }
    loadedSystem_ = system;
    loadedSections_ = sections;
    return true;
}

bool FieldsSettings::save() {
    error_.clear();
    // Refused whole before anything is written: no half-saved file.
    QString written = system.shouhinTitle + system.shouhinSetumei;
    for (const auto& section : sections)
        for (const FieldEntry& f : section.fields) written += f.name + f.type + f.value;
    if (const QString missing = cp932::missingCharacters(written); !missing.isEmpty()) {
        error_ = texts::NotInCp932.arg(missing);
        return false;
    }
    ProfileFile file(path_);
    // The bank account lives here: the seller's alone, whatever mode the file had.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    bool ok = file.load();
    auto writeString = [&](const QString& section, const QString& k, const QString& value) {
        ok = ok && file.writeString(section, k, value);
    };
    auto writeInteger = [&](const QString& section, const QString& k, int value) {
        ok = ok && file.writeInteger(section, k, value);
    };

    if (system.shouhinTitle != loadedSystem_.shouhinTitle) writeString(System, "SHOUHIN_TITLE", system.shouhinTitle);
    if (system.shouhinSetumei != loadedSystem_.shouhinSetumei)
        writeString(System, "SHOUHIN_SETUMEI", system.shouhinSetumei);
    for (const IntegerKey& k : IntegerKeys)
        if (system.*k.member != loadedSystem_.*k.member) writeInteger(System, k.name, system.*k.member);

    // SECTION_NUM follows the sections; an invalid one is repaired whenever something is saved.
    const bool sectionsModified = sections != loadedSections_;
    const bool writeSectionNum = sections.size() != loadedSections_.size() ||
                                 (loadedSectionNum_ != sections.size() && (sectionsModified || system != loadedSystem_));
    if (writeSectionNum) writeInteger(System, SectionNum, int(sections.size()));

    for (int s = 1; s <= sections.size() && ok; ++s) {
        const QString name = sectionName(s);
        const QList<FieldEntry>& fields = sections[s - 1].fields;
        const bool isNew = s > loadedSections_.size();
        if (isNew && file.hasSection(name)) ok = file.deleteSection(name); // left over, not in use
        const QList<FieldEntry> before = isNew ? QList<FieldEntry>() : loadedSections_[s - 1].fields;
        if (isNew || fields.size() != before.size()) writeInteger(name, Num, int(fields.size()));
        for (int i = 1; i <= fields.size(); ++i) {
            const FieldEntry& f = fields[i - 1];
            const bool added = i > before.size();
            if (added || f.name != before[i - 1].name) writeString(name, key("NAME", i), f.name);
            if (added || f.type != before[i - 1].type) writeString(name, key("TYPE", i), f.type);
            if (added || f.value != before[i - 1].value) writeString(name, key("VALUE", i), f.value);
        }
        for (int i = int(fields.size()) + 1; i <= before.size() && ok; ++i) {
            ok = file.deleteKey(name, key("NAME", i)) && file.deleteKey(name, key("TYPE", i)) &&
                 file.deleteKey(name, key("VALUE", i));
        }
    }
    for (int s = int(loadedSections_.size()); s > sections.size() && ok; --s) ok = file.deleteSection(sectionName(s));

    if (!ok) {
        error_ = texts::SaveFailed.arg(QFileInfo(path_).fileName());
        return false;
    }
    loadedSystem_ = system;
    loadedSections_ = sections;
    if (writeSectionNum) loadedSectionNum_ = int(sections.size());
    return true;
}

QStringList FieldsSettings::missingKeys() const {
    QStringList missing;
    if (system.shouhinTitle.isEmpty()) missing << QStringLiteral("SHOUHIN_TITLE");
    if (system.shouhinSetumei.isEmpty()) missing << QStringLiteral("SHOUHIN_SETUMEI");
    for (const IntegerKey& k : IntegerKeys)
        if (system.*k.member == -1) missing << QLatin1String(k.name);
    return missing;
}

const FieldEntry* FieldsSettings::fieldAt(int section, int item) const {
    if (section < 1 || section > sections.size()) return nullptr;
    const QList<FieldEntry>& fields = sections[section - 1].fields;
    if (item < 1 || item > fields.size()) return nullptr;
    return &fields[item - 1];
}

} // namespace zk::optpanel
