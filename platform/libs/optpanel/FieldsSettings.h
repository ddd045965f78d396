#pragma once
// FieldsDefine.ini as the option editor edits it: the SYSTEM keys and the numbered field
// sections. save() writes only what differs from what load() read, through the profile file,
// so comments, unknown keys, blank lines, CRLF and CP932 text of the rest stay as they were.
#include <QList>
#include <QString>
#include <QStringList>

namespace zk::optpanel {

struct FieldEntry {
    QString name;
    QString type;   // "TEXT", "CHECK", "COMBO", "RADIO"; other texts are kept as they are
    QString value;
    bool operator==(const FieldEntry& o) const { return name == o.name && type == o.type && value == o.value; }
    bool operator!=(const FieldEntry& o) const { return !(*this == o); }
};

struct SectionEntry {
    QList<FieldEntry> fields;
    bool operator==(const SectionEntry& o) const { return fields == o.fields; }
    bool operator!=(const SectionEntry& o) const { return !(*this == o); }
};

// The SYSTEM keys other than SECTION_NUM (which is the number of sections). Integers are -1
// when absent or invalid, as the program reads them.
struct SystemKeys {
    QString shouhinTitle;
    QString shouhinSetumei;
    int kaisiPriceSecPos = -1;
    int kaisiPriceItemPos = -1;
    int kibouPriceSecPos = -1;
    int kibouPriceItemPos = -1;
    int bankNameNum = -1;
    int sonotaKessaiNum = -1;
    int bankDefaultNum = -1;
    int kessaiDefaultNum = -1;
    bool operator==(const SystemKeys& o) const;
    bool operator!=(const SystemKeys& o) const { return !(*this == o); }
};

class FieldsSettings {
public:
    // A hostile SECTION_NUM or NUM must not make the editor build millions of rows.
    static constexpr int MaxSections = 200;
    static constexpr int MaxFields = 200;
    static const QStringList Types;

    // False (with errorString()) when the file exists but cannot be read. A missing file
    // loads as empty; saving creates it.
    bool load(const QString& path);
    // Writes the differences. False (with errorString()) when a write failed; the writes
    // before it stay in the file.
    bool save();
    bool isModified() const { return system != loadedSystem_ || sections != loadedSections_; }
    const QString& path() const { return path_; }
    const QString& errorString() const { return error_; }

    // The keys a load would reject, by name, in the order the program checks them.
    QStringList missingKeys() const;
    // The field a (section, item) position designates, or nullptr (positions are 1-based).
    const FieldEntry* fieldAt(int section, int item) const;

    SystemKeys system;
    QList<SectionEntry> sections;

    static QString sectionName(int number) { return QStringLiteral("SECTION%1").arg(number); }

private:
    QString path_;
    QString error_;
    SystemKeys loadedSystem_;
    QList<SectionEntry> loadedSections_;
    int loadedSectionNum_ = -1; // SECTION_NUM as the file had it
};

} // namespace zk::optpanel
