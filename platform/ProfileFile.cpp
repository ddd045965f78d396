#include "ProfileFile.h"

#include "Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace zk {
namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QByteArray trimmed(const QByteArray& bytes) { return bytes.trimmed(); }

} // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

bool ProfileFile::exists() const { return QFileInfo(path_).isFile(); }

ProfileFile::Line ProfileFile::parseLine(const QByteArray& raw) {
    Line line;
    line.raw = raw;
    const QByteArray t = trimmed(raw);
    if (t.startsWith('[')) {
        int close = t.indexOf(']');
        line.isSection = true;
        line.section = cp932::toUnicode(t.mid(1, close < 0 ? -1 : close - 1)).trimmed();
        return line;
    }
    if (t.isEmpty() || t.startsWith(';')) return line;
    int eq = raw.indexOf('=');
    if (eq < 0) return line;
    line.key = cp932::toUnicode(trimmed(raw.left(eq)));
    line.keyValueOffset = eq + 1;
    return line;
}

bool ProfileFile::load() {
    lines_.clear();
    loaded_ = false;
    QFile file(path_);
    if (!file.exists()) {
        loaded_ = true;
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    newline_ = data.contains("\r\n") || data.isEmpty() ? QByteArray("\r\n") : QByteArray("\n");
    endsWithNewline_ = data.isEmpty() || data.endsWith('\n');
    int start = 0;
    while (start < data.size()) {
        int end = data.indexOf('\n', start);
        if (end < 0) end = int(data.size());
        QByteArray raw = data.mid(start, end - start);
        if (raw.endsWith('\r')) raw.chop(1);
        lines_.push_back(parseLine(raw));
        start = end + 1;
    }
    loaded_ = true;
    return true;
}

int ProfileFile::findSection(const QString& section) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].isSection && sameName(lines_[i].section, section)) return int(i);
    return -1;
}

int ProfileFile::sectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < int(lines_.size()) && !lines_[i].isSection) ++i;
    return i;
}

int ProfileFile::findKey(int sectionLine, const QString& key) const {
    if (sectionLine < 0) return -1;
    const int end = sectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i)
        if (lines_[i].keyValueOffset >= 0 && sameName(lines_[i].key, key)) return i;
    return -1;
}

QString ProfileFile::valueOf(const Line& line) const {
    QByteArray value = trimmed(line.raw.mid(line.keyValueOffset));
    // Windows drops one pair of quotes around a value; the writer quotes values whose blanks
    // at either end would otherwise be lost.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return cp932::toUnicode(value);
}

bool ProfileFile::hasSection(const QString& section) const { return findSection(section) >= 0; }

bool ProfileFile::hasKey(const QString& section, const QString& key) const {
    return findKey(findSection(section), key) >= 0;
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    int i = findKey(findSection(section), key);
    return i < 0 ? defaultValue : valueOf(lines_[i]);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    int i = findKey(findSection(section), key);
    if (i < 0) return defaultValue;
    const QString text = valueOf(lines_[i]);
    int pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    qint64 value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos++].unicode() - '0');
        if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
    }
    return int(negative ? -value : value);
}

std::vector<const ProfileFile::Line*> ProfileFile::distinctKeys(const QString& section) const {
    // One pass over the section: a section may hold a hundred thousand keys, and looking each
    // one up again would take minutes.
    std::vector<const Line*> result;
    const int s = findSection(section);
    if (s < 0) return result;
    QSet<QString> seen;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i) {
        const Line& line = lines_[size_t(i)];
        if (line.keyValueOffset < 0) continue;
        // The first of duplicate keys wins, as a lookup by name finds it.
        const QString folded = line.key.toCaseFolded();
        if (seen.contains(folded)) continue;
        seen.insert(folded);
        result.push_back(&line);
    }
    return result;
}

QStringList ProfileFile::readSection(const QString& section) const {
    QStringList result;
    for (const Line* line : distinctKeys(section)) result << line->key + "=" + valueOf(*line);
    return result;
}

QStringList ProfileFile::sectionNames() const {
    QStringList names;
    for (const Line& line : lines_)
        if (line.isSection && !names.contains(line.section, Qt::CaseInsensitive)) names << line.section;
    return names;
}

QStringList ProfileFile::keyNames(const QString& section) const {
    QStringList keys;
    for (const Line* line : distinctKeys(section)) keys << line->key;
    return keys;
}

QByteArray ProfileFile::encodeValue(const QString& value) {
    QByteArray bytes = cp932::fromUnicode(value);
    if (bytes != bytes.trimmed() ||
        (bytes.size() >= 2 && (bytes.front() == '"' || bytes.front() == '\'') && bytes.back() == bytes.front()))
        bytes = '"' + bytes + '"';
    return bytes;
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
    missing_ = cp932::missingCharacters(section + key + value);
    if (!missing_.isEmpty()) return false;
    if (!loaded_ && !load()) return false;
    const std::vector<Line> before = lines_;
    const QByteArray keyLine = cp932::fromUnicode(key) + "=" + encodeValue(value);
    int s = findSection(section);
    if (s < 0) {
        if (!lines_.empty() && !trimmed(lines_.back().raw).isEmpty()) lines_.push_back(parseLine(""));
        lines_.push_back(parseLine("[" + cp932::fromUnicode(section) + "]"));
        lines_.push_back(parseLine(keyLine));
    } else if (int k = findKey(s, key); k >= 0) {
        lines_[k] = parseLine(lines_[k].raw.left(lines_[k].keyValueOffset) + encodeValue(value));
    } else {
        // After the section's last non-blank line, so that blank separators stay in place.
        int insertAt = sectionEnd(s);
        while (insertAt > s + 1 && trimmed(lines_[insertAt - 1].raw).isEmpty()) --insertAt;
        lines_.insert(lines_.begin() + insertAt, parseLine(keyLine));
    }
    if (save()) return true;
    lines_ = before;
    return false;
}

bool ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool ProfileFile::deleteKey(const QString& section, const QString& key) {
    if (!loaded_ && !load()) return false;
    int k = findKey(findSection(section), key);
    if (k < 0) return true;
    const std::vector<Line> before = lines_;
    lines_.erase(lines_.begin() + k);
    if (save()) return true;
    lines_ = before;
    return false;
}

bool ProfileFile::deleteSection(const QString& section) {
    if (!loaded_ && !load()) return false;
    int s = findSection(section);
    if (s < 0) return true;
    const std::vector<Line> before = lines_;
    lines_.erase(lines_.begin() + s, lines_.begin() + sectionEnd(s));
    if (save()) return true;
    lines_ = before;
    return false;
}

bool ProfileFile::save() {
    QByteArray data;
    for (size_t i = 0; i < lines_.size(); ++i) {
        data += lines_[i].raw;
        if (i + 1 < lines_.size() || endsWithNewline_) data += newline_;
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (permissions_) file.setPermissions(permissions_);
    else if (QFileInfo::exists(path_)) file.setPermissions(QFileInfo(path_).permissions());
    file.write(data);
    return file.commit();
}

} // namespace zk
