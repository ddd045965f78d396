#include "listing/UploadRules.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <limits>

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
    if (!facts.whole) return facts.cut ? PictureProblem::Truncated : PictureProblem::Broken;
    // Said with its size only when the header gave one; an unreadable header is a broken file.
    if (facts.width > 0 && facts.height > 0 && facts.decodeLimit > 0 &&
        (facts.decodedBytes < 0 || facts.decodedBytes > facts.decodeLimit))
        return PictureProblem::TooManyPixels;
    if (!facts.decodes) return PictureProblem::Broken;
    return PictureProblem::None;
}

bool hasJpegMagic(const QByteArray& head) { return head.startsWith(QByteArray("\xFF\xD8\xFF", 3)); }

JpegEnd jpegEnd(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n < 2) return n == 0 || b[0] == 0xFF ? JpegEnd::Cut : JpegEnd::Malformed;
    if (b[0] != 0xFF || b[1] != 0xD8) return JpegEnd::Malformed;
    qsizetype pos = 2;
    while (pos < n) {
        // A marker: 0xFF (any number of fill bytes), then its code.
        if (b[pos] != 0xFF) return JpegEnd::Malformed;
        while (pos < n && b[pos] == 0xFF) ++pos;
        if (pos >= n) return JpegEnd::Cut;
        const unsigned char code = b[pos++];
        if (code == 0xD9) return JpegEnd::Whole;
        if (code == 0x00) return JpegEnd::Malformed;                  // stuffing outside a scan
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) continue; // markers without a length
        if (pos + 2 > n) return JpegEnd::Cut;
        const qsizetype length = (qsizetype(b[pos]) << 8) | b[pos + 1];
        if (length < 2) return JpegEnd::Malformed;
        if (pos + length > n) return JpegEnd::Cut;
        pos += length;
        if (code != 0xDA) continue;
        // The scan's coded data runs up to the next marker that is neither stuffing (0xFF00) nor
        // a restart (0xFFD0-0xFFD7).
        for (;;) {
            while (pos < n && b[pos] != 0xFF) ++pos;
            if (pos + 1 >= n) return JpegEnd::Cut;
            const unsigned char next = b[pos + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) pos += 2;
            else if (next == 0xFF) ++pos;
            else break;
        }
    }
    return JpegEnd::Cut;
}

qint64 decodedImageBytes(int width, int height, int bitsPerPixel) {
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0) return -1;
    const qint64 rowBits = qint64(width) * bitsPerPixel;
    const qint64 row = (rowBits + 31) / 32 * 4;
    if (row > std::numeric_limits<qint64>::max() / height) return -1;
    return row * height;
}

QString multipartFileName(const QString& fileName) {
    QString sent;
    sent.reserve(fileName.size());
    for (const QChar c : fileName) {
        if (c == u'"') sent += QLatin1String("%22");
        else if (c == u'\r') sent += QLatin1String("%0D");
        else if (c == u'\n') sent += QLatin1String("%0A");
        else sent += c;
    }
    return sent;
}

bool pictureShownAs(const QString& shownText, const QString& fileName) {
    if (fileName.isEmpty()) return false;
    return shownText.contains(fileName) || shownText.contains(multipartFileName(fileName));
}

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

QString titleAsSent(const QString& title) {
    auto ascii = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    qsizetype first = 0, last = title.size();
    while (first < last && ascii(title[first])) ++first;
    while (last > first && ascii(title[last - 1])) --last;
    return title.mid(first, last - first);
}

bool titleTooLong(const QString& title) { return titleBytes(titleAsSent(title)) > TitleByteLimit; }

} // namespace zk::listing::rules
