#include "AviWriter.h"

#include <QFile>
#include <QtEndian>

namespace zk::art {

namespace {

void putU16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void putU32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
void putTag(QByteArray& out, const char* tag) { out.append(tag, 4); }

QByteArray chunk(const char* tag, const QByteArray& body) {
    QByteArray out;
    putTag(out, tag);
    putU32(out, quint32(body.size()));
    out += body;
    if (body.size() & 1) out.append('\0');
    return out;
}

QByteArray list(const char* type, const QByteArray& body) {
    QByteArray inner;
    putTag(inner, type);
    inner += body;
    return chunk("LIST", inner);
}

// Length of the run of equal bytes starting at x.
int runLength(const uchar* row, int x, int width) {
    int n = 1;
    while (x + n < width && n < 255 && row[x + n] == row[x]) ++n;
    return n;
}

QByteArray rawFrame(const QImage& image) {
    const int stride = (image.width() + 3) & ~3;
    QByteArray out;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(reinterpret_cast<const char*>(image.constScanLine(y)), image.width());
        row.append(QByteArray(stride - image.width(), '\0'));
        out += row;
    }
    return out;
}

} // namespace

QByteArray encodeRle8Row(const uchar* row, int width) {
    QByteArray out;
    int x = 0;
    while (x < width) {
        const int run = runLength(row, x, width);
        if (run >= 3 || width - x < 3) {
            out.append(char(run));
            out.append(char(row[x]));
            x += run;
            continue;
        }
        // Gather single pixels until a run of three or more starts; an absolute run needs at
        // least three bytes, shorter stretches go out as encoded runs.
        int end = x;
        while (end < width && end - x < 255 && runLength(row, end, width) < 3) ++end;
        const int length = end - x;
        if (length < 3) {
            for (int i = x; i < end; ++i) {
                out.append(char(1));
                out.append(char(row[i]));
            }
        } else {
            out.append(char(0));
            out.append(char(length));
            out.append(reinterpret_cast<const char*>(row + x), length);
            if (length & 1) out.append(char(0));
        }
        x = end;
    }
    return out;
}

QByteArray encodeRle8(const QImage& indexed) {
    QByteArray out;
    for (int y = indexed.height() - 1; y >= 0; --y) {
        out += encodeRle8Row(indexed.constScanLine(y), indexed.width());
        if (y > 0) out.append("\0\0", 2);
    }
    out.append("\0\1", 2);
    return out;
}

QByteArray encodeAvi(const QList<QImage>& frames, int framesPerSecond, AviCompression compression) {
    if (frames.isEmpty() || framesPerSecond <= 0) return {};
    const QImage& first = frames.first();
    const QList<QRgb> palette = first.colorTable();
    for (const QImage& f : frames)
        if (f.format() != QImage::Format_Indexed8 || f.size() != first.size() || f.colorTable() != palette) return {};
    if (palette.size() > 256) return {};
    const int w = first.width(), h = first.height();
    const bool rle = compression == AviCompression::Rle8;

    QList<QByteArray> data;
    quint32 largest = 0;
    for (const QImage& f : frames) {
        data.append(rle ? encodeRle8(f) : rawFrame(f));
        largest = qMax(largest, quint32(data.last().size()));
    }

    QByteArray avih;
    putU32(avih, quint32(1000000 / framesPerSecond)); // microseconds per frame
    putU32(avih, largest * quint32(framesPerSecond));  // max bytes per second
    putU32(avih, 0);                                   // padding granularity
    putU32(avih, 0x10);                                // has an index
    putU32(avih, quint32(frames.size()));
    putU32(avih, 0);                                   // initial frames
    putU32(avih, 1);                                   // streams
    putU32(avih, largest);
    putU32(avih, quint32(w));
    putU32(avih, quint32(h));
    for (int i = 0; i < 4; ++i) putU32(avih, 0);

    QByteArray strh;
    putTag(strh, "vids");
    putTag(strh, rle ? "mrle" : "DIB ");
    putU32(strh, 0);             // flags
    putU16(strh, 0);             // priority
    putU16(strh, 0);             // language
    putU32(strh, 0);             // initial frames
    putU32(strh, 1);             // scale
    putU32(strh, quint32(framesPerSecond)); // rate
    putU32(strh, 0);             // start
    putU32(strh, quint32(frames.size()));
    putU32(strh, largest);
    putU32(strh, 0xFFFFFFFF);    // quality: default
    putU32(strh, 0);             // sample size
    putU16(strh, 0);
    putU16(strh, 0);
    putU16(strh, quint16(w));
    putU16(strh, quint16(h));

    QByteArray strf;
    putU32(strf, 40);
    putU32(strf, quint32(w));
    putU32(strf, quint32(h));    // bottom-up
    putU16(strf, 1);             // planes
    putU16(strf, 8);             // bits per pixel
    putU32(strf, rle ? 1 : 0);   // BI_RLE8 or BI_RGB
    putU32(strf, rle ? 0 : quint32(((w + 3) & ~3) * h));
    putU32(strf, 0);
    putU32(strf, 0);
    putU32(strf, quint32(palette.size()));
    putU32(strf, 0);
    for (QRgb c : palette) {
        strf.append(char(qBlue(c)));
        strf.append(char(qGreen(c)));
        strf.append(char(qRed(c)));
        strf.append('\0');
    }

    QByteArray hdrl = chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf));

    QByteArray movi;
    QByteArray idx1;
    for (const QByteArray& d : data) {
        putTag(idx1, "00dc");
        putU32(idx1, 0x10); // key frame: each frame covers the whole picture
        putU32(idx1, quint32(4 + movi.size())); // offset from the list type
        putU32(idx1, quint32(d.size()));
        movi += chunk("00dc", d);
    }

    QByteArray body;
    putTag(body, "AVI ");
    body += list("hdrl", hdrl);
    body += list("movi", movi);
    body += chunk("idx1", idx1);

    QByteArray out;
    putTag(out, "RIFF");
    putU32(out, quint32(body.size()));
    out += body;
    return out;
}

bool writeAvi(const QString& path, const QList<QImage>& frames, int framesPerSecond, AviCompression compression) {
    const QByteArray bytes = encodeAvi(frames, framesPerSecond, compression);
    if (bytes.isEmpty()) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(bytes) == bytes.size();
}

} // namespace zk::art
