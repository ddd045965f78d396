#pragma once
// Profile (INI) files with the semantics Windows gives them, which the seller's files rely on:
// section and key names without regard to case, the first of duplicate keys wins, a value is
// the text after the first "=", integers read with a default, CP932 text, CRLF or LF lines.
// Writes change only the line concerned, keep the rest of the file byte for byte, and reach the
// disk at once, as WritePrivateProfileString does.
#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <vector>

namespace zk {

class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return path_; }
    bool exists() const;
    // Reads the file; false when it exists but cannot be read. A missing file reads as empty.
    bool load();
    bool isLoaded() const { return loaded_; }

    bool hasSection(const QString& section) const;
    // Whether the key is present in the section, with any value (also an empty one).
    bool hasKey(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // GetPrivateProfileInt: an optional sign and leading digits; a value without digits is 0,
    // a missing key gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // "key=value" for every distinct key of the section, in file order.
    QStringList readSection(const QString& section) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    // Each write saves the file; false when it cannot be written (nothing is changed then). A
    // section, key or value holding a character CP932 has not is not written at all (the file
    // would hold "?" in its place): missingCharacters() names those characters after it.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool deleteKey(const QString& section, const QString& key);
    bool deleteSection(const QString& section);

    // Permissions for the file when this object creates or rewrites it (the settings file holds
    // the password: owner only).
    void setPermissions(QFileDevice::Permissions permissions) { permissions_ = permissions; }
    // The characters the last write refused; empty when it refused none.
    const QString& missingCharacters() const { return missing_; }

private:
    struct Line {
        QByteArray raw;      // the line as stored, without its line ending
        QString section;     // for a section header: its name
        QString key;         // for a key line: its (trimmed) name
        int keyValueOffset = -1;
        bool isSection = false;
    };

    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    int sectionEnd(int sectionLine) const;
    // The key lines of a section, the first of each name only, in file order.
    std::vector<const Line*> distinctKeys(const QString& section) const;
    QString valueOf(const Line& line) const;
    bool save();
    static Line parseLine(const QByteArray& raw);
    static QByteArray encodeValue(const QString& value);

    QString path_;
    std::vector<Line> lines_;
    QByteArray newline_ = "\r\n";
    bool endsWithNewline_ = true;
    bool loaded_ = false;
    QFileDevice::Permissions permissions_ = {};
    QString missing_;
};

} // namespace zk
