#include "Cp932.h"

#include <QList>

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace zk::cp932 {
namespace {

// One converter per direction for the whole run: iconv_open is far slower than a conversion,
// and large category files convert line by line. Everything runs on the GUI thread.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns false at an invalid sequence with *in past the
    // bytes consumed so far.
    bool run(const char*& in, size_t& inLeft, QByteArray& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            size_t r = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            out.append(buffer, int(dst - buffer));
            in = src;
            if (r == size_t(-1)) {
                if (errno == E2BIG) continue;
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& decoder() {
    static Converter c("UTF-8", "CP932");
    return c;
}

Converter& encoder() {
    static Converter c("CP932", "UTF-8");
    return c;
}

int utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

} // namespace

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

QString toUnicode(const char* data, int size) {
    QByteArray utf8;
    utf8.reserve(size * 3 / 2);
    const char* in = data;
    size_t left = size_t(size);
    while (!decoder().run(in, left, utf8)) {
        // Skip the bad character: two bytes when it starts like a double-byte one.
        size_t skip = (left >= 2 && isLeadByte(static_cast<unsigned char>(*in))) ? 2 : 1;
        utf8.append("\xEF\xBF\xBD");
        in += skip;
        left -= skip;
    }
    return QString::fromUtf8(utf8);
}

QString toUnicode(const QByteArray& bytes) { return toUnicode(bytes.constData(), int(bytes.size())); }

QByteArray fromUnicode(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    const char* in = utf8.constData();
    size_t left = size_t(utf8.size());
    while (!encoder().run(in, left, out)) {
        size_t skip = std::min(left, size_t(utf8SequenceLength(static_cast<unsigned char>(*in))));
        out.append('?');
        in += skip;
        left -= skip;
    }
    return out;
}

int byteLength(const QString& text) { return int(fromUnicode(text).size()); }

QString missingCharacters(const QString& text) {
    QString out;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) continue;
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray utf8 = one.toUtf8();
        const char* in = utf8.constData();
        size_t left = size_t(utf8.size());
        QByteArray narrow;
        if (!encoder().run(in, left, narrow) && !out.contains(one)) out += one;
    }
    return out;
}

QString unkeptCharacters(const QString& text) {
    QString out;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) continue;
        const QString one = QString::fromUcs4(&c, 1);
        if (toUnicode(fromUnicode(one)) != one && !out.contains(one)) out += one;
    }
    return out;
}

} // namespace zk::cp932
