#include "AviReader.h"

#include <QFile>
#include <QtEndian>
#include <cstring>

namespace zk {

namespace {

constexpr quint32 BiRgb = 0;
constexpr quint32 BiRle8 = 1;
constexpr int MaxListDepth = 8;

// A bounds-checked view of the file's bytes.
class Bytes {
public:
    Bytes(const QByteArray& data) : p_(reinterpret_cast<const uchar*>(data.constData())), size_(data.size()) {}
    qint64 size() const { return size_; }
    bool has(qint64 offset, qint64 count) const {
        return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
    }
    quint16 u16(qint64 offset) const { return qFromLittleEndian<quint16>(p_ + offset); }
    quint32 u32(qint64 offset) const { return qFromLittleEndian<quint32>(p_ + offset); }
    qint32 i32(qint64 offset) const { return qFromLittleEndian<qint32>(p_ + offset); }
    bool tag(qint64 offset, const char* fourcc) const { return std::memcmp(p_ + offset, fourcc, 4) == 0; }
    const uchar* at(qint64 offset) const { return p_ + offset; }

private:
    const uchar* p_;
    qint64 size_;
};

struct Format {
    int width = 0;
    int height = 0;      // always positive
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = 0;
    QVector<QRgb> palette;
};

struct Stream {
    bool found = false;
    int number = -1;     // the stream's index: frame chunks are named "NNdb" / "NNdc"
    quint32 scale = 0;
    quint32 rate = 0;
    bool haveFormat = false;
    Format format;
};

struct Walk {
    Stream video;
    quint32 microSecPerFrame = 0;
    int streamCount = 0;
    QList<QByteArray> frameChunks;   // raw frame data in file order
    bool sawMovi = false;
};

bool isFrameChunk(const Bytes& b, qint64 offset, int stream) {
    auto digit = [](uchar c) { return c >= '0' && c <= '9' ? c - '0' : -1; };
    const uchar* id = b.at(offset);
    const int d1 = digit(id[0]), d2 = digit(id[1]);
    if (d1 < 0 || d2 < 0 || d1 * 10 + d2 != stream) return false;
    return (id[2] == 'd' && (id[3] == 'b' || id[3] == 'c'));
}

} // namespace

void AviReader::reset() {
    frames_.clear();
    size_ = {};
    frameRate_ = 0;
    error_.clear();
}

bool AviReader::fail(const QString& why) {
    frames_.clear();
    size_ = {};
    frameRate_ = 0;
    error_ = why;
    return false;
}

bool AviReader::read(const QString& path) {
    reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    // A guide clip is a few kilobytes; refuse anything absurd before reading it into memory.
    if (file.size() > 256LL * 1024 * 1024) return fail(QStringLiteral("file too large"));
    return parse(file.readAll());
}

static bool readFormat(const Bytes& b, qint64 offset, qint64 size, Format& f, QString& error) {
    if (size < 40) return (error = QStringLiteral("stream format shorter than a bitmap header")), false;
    const quint32 headerSize = b.u32(offset);
    if (headerSize < 40 || headerSize > size) return (error = QStringLiteral("bad bitmap header size")), false;
    const qint32 width = b.i32(offset + 4);
    const qint32 height = b.i32(offset + 8);
    f.bitCount = b.u16(offset + 14);
    f.compression = b.u32(offset + 16);
    const quint32 colorsUsed = b.u32(offset + 32);
    if (width <= 0 || width > AviReader::MaxSide || height == 0 || height < -AviReader::MaxSide ||
        height > AviReader::MaxSide)
        return (error = QStringLiteral("bad frame size %1 x %2").arg(width).arg(height)), false;
    f.width = width;
    f.height = height < 0 ? -height : height;
    f.topDown = height < 0;
    if (f.compression == BiRgb) {
        if (f.bitCount != 8 && f.bitCount != 24)
            return (error = QStringLiteral("unsupported bit count %1").arg(f.bitCount)), false;
    } else if (f.compression == BiRle8) {
        if (f.bitCount != 8) return (error = QStringLiteral("RLE8 needs 8 bits per pixel")), false;
        if (f.topDown) return (error = QStringLiteral("RLE8 frames cannot be top-down")), false;
    } else {
        return (error = QStringLiteral("unsupported compression %1").arg(f.compression)), false;
    }
    if (f.bitCount == 8) {
        const qint64 available = (size - headerSize) / 4;
        qint64 count = colorsUsed ? colorsUsed : 256;
        if (colorsUsed > 256) return (error = QStringLiteral("palette larger than 256 colours")), false;
        if (colorsUsed && count > available) return (error = QStringLiteral("palette cut short")), false;
        count = qMin(count, available);
        f.palette.fill(qRgb(0, 0, 0), 256);
        for (qint64 i = 0; i < count; ++i) {
            const uchar* q = b.at(offset + headerSize + i * 4);
            f.palette[int(i)] = qRgb(q[2], q[1], q[0]);
        }
    }
    return true;
}

// Walks the chunks in [begin, end), descending into the lists that matter.
static bool walkChunks(const Bytes& b, qint64 begin, qint64 end, int depth, bool inMovi, Walk& w,
                       QString& error) {
    if (depth > MaxListDepth) return (error = QStringLiteral("lists nested too deeply")), false;
    qint64 pos = begin;
    while (pos < end) {
        if (end - pos < 8) {
            // A few stray bytes of padding at the very end are harmless.
            if (end - pos < 4) break;
            return (error = QStringLiteral("truncated chunk header")), false;
        }
        const quint32 size = b.u32(pos + 4);
        const qint64 body = pos + 8;
        if (qint64(size) > end - body) return (error = QStringLiteral("truncated chunk")), false;
        if (b.tag(pos, "LIST")) {
            if (size < 4) return (error = QStringLiteral("list without a type")), false;
            const qint64 inner = body + 4;
            if (b.tag(body, "strl")) {
                const int number = w.streamCount++;
                Stream s;
                s.number = number;
                // Look for the stream header and format inside this one list.
                qint64 p = inner;
                const qint64 listEnd = body + size;
                bool isVideo = false;
                while (p + 8 <= listEnd) {
                    const quint32 cs = b.u32(p + 4);
                    if (qint64(cs) > listEnd - (p + 8)) return (error = QStringLiteral("truncated stream chunk")), false;
                    if (b.tag(p, "strh")) {
                        if (cs < 36) return (error = QStringLiteral("stream header too short")), false;
                        isVideo = b.tag(p + 8, "vids");
                        s.scale = b.u32(p + 8 + 20);
                        s.rate = b.u32(p + 8 + 24);
                    } else if (b.tag(p, "strf") && isVideo && !s.haveFormat) {
                        if (!readFormat(b, p + 8, cs, s.format, error)) return false;
                        s.haveFormat = true;
                    }
                    p += 8 + cs + (cs & 1);
                }
                if (isVideo && !w.video.found) {
                    if (!s.haveFormat) return (error = QStringLiteral("video stream without a format")), false;
                    s.found = true;
                    w.video = s;
                }
            } else if (b.tag(body, "movi")) {
                w.sawMovi = true;
                if (!walkChunks(b, inner, body + size, depth + 1, true, w, error)) return false;
            } else if (b.tag(body, "hdrl") || (inMovi && b.tag(body, "rec "))) {
                if (!walkChunks(b, inner, body + size, depth + 1, inMovi, w, error)) return false;
            }
        } else if (b.tag(pos, "avih")) {
            if (size >= 4) w.microSecPerFrame = b.u32(body);
        } else if (inMovi && w.video.found && isFrameChunk(b, pos, w.video.number)) {
            if (w.frameChunks.size() >= AviReader::MaxFrames) return (error = QStringLiteral("too many frames")), false;
            w.frameChunks.append(QByteArray(reinterpret_cast<const char*>(b.at(body)), qsizetype(size)));
        }
        pos = body + size + (size & 1);
    }
    return true;
}

bool AviReader::decodeRle8(const QByteArray& data, int width, int height, QByteArray& indexes) {
    if (width <= 0 || height <= 0 || indexes.size() != qint64(width) * height) return false;
    const uchar* p = reinterpret_cast<const uchar*>(data.constData());
    const qint64 n = data.size();
    uchar* out = reinterpret_cast<uchar*>(indexes.data());
    qint64 i = 0;
    int x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](uchar value) {
        // Pixels past the row's end or above the top are dropped, never wrapped.
        if (x < width && y < height) out[qint64(y) * width + x] = value;
        ++x;
    };
    while (i + 1 < n) {
        const uchar count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) put(value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return true;
        case 2: // delta: move right and up
            if (i + 1 >= n) return false;
            x += p[i];
            y += p[i + 1];
            i += 2;
            break;
        default: { // absolute run, padded to a 16-bit boundary
            const int length = value;
            if (i + length > n) return false;
            for (int k = 0; k < length; ++k) put(p[i + k]);
            i = qMin(i + length + (length & 1), n); // a pad byte may be missing at the very end
            break;
        }
        }
        if (y >= height) return true; // nothing more can be drawn
    }
    // Data that ends without an end-of-bitmap mark ends the frame; a lone trailing byte is a cut.
    return i == n;
}

static QImage toImage(const QByteArray& indexes, const Format& f) {
    QImage image(f.width, f.height, QImage::Format_RGB32);
    const uchar* src = reinterpret_cast<const uchar*>(indexes.constData());
    for (int row = 0; row < f.height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(f.height - 1 - row));
        for (int x = 0; x < f.width; ++x) line[x] = f.palette[src[qint64(row) * f.width + x]];
    }
    return image;
}

static bool decodeUncompressed(const QByteArray& data, const Format& f, QImage& image) {
    const qint64 stride = ((qint64(f.width) * f.bitCount + 31) / 32) * 4;
    const qint64 rowBytes = (qint64(f.width) * f.bitCount + 7) / 8;
    // The last row's padding may be missing.
    if (data.size() < stride * (f.height - 1) + rowBytes) return false;
    image = QImage(f.width, f.height, QImage::Format_RGB32);
    const uchar* base = reinterpret_cast<const uchar*>(data.constData());
    for (int row = 0; row < f.height; ++row) {
        const uchar* src = base + stride * row;
        const int target = f.topDown ? row : f.height - 1 - row;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(target));
        if (f.bitCount == 8) {
            for (int x = 0; x < f.width; ++x) line[x] = f.palette[src[x]];
        } else {
            for (int x = 0; x < f.width; ++x) line[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        }
    }
    return true;
}

bool AviReader::parse(const QByteArray& data) {
    reset();
    const Bytes b(data);
    if (b.size() < 12 || !b.tag(0, "RIFF") || !b.tag(8, "AVI "))
        return fail(QStringLiteral("not an AVI file"));
    const quint32 riffSize = b.u32(4);
    if (riffSize < 4 || qint64(riffSize) > b.size() - 8) return fail(QStringLiteral("file is truncated"));

    Walk w;
    QString error;
    if (!walkChunks(b, 12, 8 + qint64(riffSize), 0, false, w, error)) return fail(error);
    if (!w.video.found) return fail(QStringLiteral("no video stream"));
    if (!w.sawMovi) return fail(QStringLiteral("no frame data"));
    if (w.frameChunks.isEmpty()) return fail(QStringLiteral("no frames"));

    const Format& f = w.video.format;
    const qint64 pixels = qint64(f.width) * f.height;
    if (pixels * w.frameChunks.size() > MaxPixelsTotal) return fail(QStringLiteral("clip too large"));

    // RLE8 frames draw over the previous one (skipped pixels keep their colour); an empty
    // chunk repeats the previous frame.
    QByteArray indexes(pixels, '\0');
    QImage previous;
    for (int i = 0; i < w.frameChunks.size(); ++i) {
        const QByteArray& chunk = w.frameChunks[i];
        QImage image;
        if (chunk.isEmpty() && !previous.isNull()) {
            image = previous;
        } else if (f.compression == BiRle8) {
            if (!decodeRle8(chunk, f.width, f.height, indexes))
                return fail(QStringLiteral("frame %1: RLE8 data cut short").arg(i));
            image = toImage(indexes, f);
        } else if (!decodeUncompressed(chunk, f, image)) {
            return fail(QStringLiteral("frame %1: pixel data cut short").arg(i));
        }
        frames_.append(image);
        previous = image;
    }
    size_ = QSize(f.width, f.height);
    if (w.video.scale > 0 && w.video.rate > 0) frameRate_ = double(w.video.rate) / w.video.scale;
    else if (w.microSecPerFrame > 0) frameRate_ = 1e6 / w.microSecPerFrame;
    return true;
}

} // namespace zk
