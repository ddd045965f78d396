#include "listing/UploadRules.h"

#include "platform/Cp932.h"

#include <algorithm>

namespace zk::listing::rules {

QStringList sortPictureNames(QStringList names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

bool isPictureName(const QString& name) { return name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive); }

PictureProblem pictureProblem(const PictureFacts& facts) {
    if (!facts.insideFolder) return PictureProblem::OutsideFolder;
    if (!facts.regularFile) return PictureProblem::NotAFile;
    if (!facts.readable) return PictureProblem::Unreadable;
    if (facts.size == 0) return PictureProblem::Empty;
    if (facts.size > PictureByteLimit) return PictureProblem::TooLarge;
    if (!facts.jpegMagic) return PictureProblem::NotJpeg;
    if (!facts.decodes) return PictureProblem::Broken;
    return PictureProblem::None;
}

bool hasJpegMagic(const QByteArray& head) { return head.startsWith(QByteArray("\xFF\xD8\xFF", 3)); }

bool enoughPictures(const QStringList& files, int next, int n, const std::function<bool(const QString&)>& exists) {
    if (next < 0 || files.size() - next < n) return false;
    for (int i = next; i < next + n; ++i)
        if (!exists(files[i])) return false;
    return true;
}

QString pictureAt(const QStringList& files, int i) {
    if (i < 0) return {};
    if (i >= files.size()) return PictureEnd;
    return files[i];
}

QByteArray cutOnCharacter(const QByteArray& bytes, int limit) {
    int end = 0;
    while (end < bytes.size()) {
        const int width = cp932::isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > limit) break;
        end += width;
    }
    return bytes.left(std::min<int>(end, int(bytes.size())));
}

QString expandDescription(const QString& text, int firstColumn, const std::function<QString(int column)>& cell) {
    QString t = text;
    int column = firstColumn;
    int from = 0;
    for (;;) {
        const int mark = t.indexOf(QLatin1String("%%"), from);
        if (mark < 0) break;
        t.remove(mark, 2);
        const QString value = cell(column);
        if (value.isEmpty()) break;
        t.insert(mark, value);
        // Marks are looked for after the value: a "%%" inside a cell stays text.
        from = mark + int(value.size());
        ++column;
    }
    return t;
}

int titleBytes(const QString& title) {
    int bytes = 0;
    for (const uint c : title.toUcs4()) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        const QByteArray narrow = cp932::fromUnicode(one);
        // '?' for anything else than a question mark is a character CP932 cannot hold.
        if (narrow == "?" && c != '?') bytes += 2;
        else bytes += int(narrow.size());
    }
    return bytes;
}

bool titleTooLong(const QString& title) { return titleBytes(title) > TitleByteLimit; }

} // namespace zk::listing::rules
