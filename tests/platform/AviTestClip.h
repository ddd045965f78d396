#pragma once
// Builds AVI files byte by byte for the reader's tests, including shapes our own writer never
// produces (top-down rows, 24-bit frames, other streams first, 'rec ' lists, junk).
#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QtEndian>

namespace zk::test {

struct AviTestClip {
    int width = 4;
    int height = 2;            // negative: top-down rows
    int bitCount = 8;
    quint32 compression = 0;   // 0 BI_RGB, 1 BI_RLE8
    QList<QRgb> palette;
    quint32 colorsUsed = 0xFFFFFFFF; // default: palette.size()
    QList<QByteArray> frames;
    quint32 scale = 1;
    quint32 rate = 10;
    quint32 microSecPerFrame = 100000;
    bool audioStreamFirst = false;
    bool framesInRecLists = false;
    bool junkBeforeFrames = false;

    static void u16(QByteArray& out, quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); }
    static void u32(QByteArray& out, quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); }
    static QByteArray chunk(const char* tag, const QByteArray& body) {
        QByteArray out(tag, 4);
        u32(out, quint32(body.size()));
        out += body;
        if (body.size() & 1) out.append('\0');
        return out;
    }
    static QByteArray list(const char* type, const QByteArray& body) { return chunk("LIST", QByteArray(type, 4) + body); }

    QByteArray streamList(const char* type, bool video) const {
        QByteArray strh(type, 4);
        strh += QByteArray(video ? "DIB " : "\0\0\0\0", 4);
        u32(strh, 0); u16(strh, 0); u16(strh, 0); u32(strh, 0);
        u32(strh, scale); u32(strh, rate);
        u32(strh, 0); u32(strh, quint32(frames.size())); u32(strh, 0); u32(strh, 0); u32(strh, 0);
        u16(strh, 0); u16(strh, 0); u16(strh, quint16(width)); u16(strh, quint16(qAbs(height)));
        QByteArray strf;
        if (video) {
            u32(strf, 40); u32(strf, quint32(width)); u32(strf, quint32(height));
            u16(strf, 1); u16(strf, quint16(bitCount)); u32(strf, compression);
            u32(strf, 0); u32(strf, 0); u32(strf, 0);
            u32(strf, colorsUsed == 0xFFFFFFFF ? quint32(palette.size()) : colorsUsed);
            u32(strf, 0);
            for (QRgb c : palette) {
                strf.append(char(qBlue(c))); strf.append(char(qGreen(c))); strf.append(char(qRed(c))); strf.append('\0');
            }
        } else {
            u16(strf, 1); u16(strf, 1); u32(strf, 8000); u32(strf, 8000); u16(strf, 1); u16(strf, 8);
        }
        return list("strl", chunk("strh", strh) + chunk("strf", strf));
    }

    QByteArray bytes() const {
        QByteArray avih;
        u32(avih, microSecPerFrame);
        for (int i = 0; i < 3; ++i) u32(avih, 0);
        u32(avih, quint32(frames.size())); u32(avih, 0); u32(avih, audioStreamFirst ? 2 : 1); u32(avih, 0);
        u32(avih, quint32(width)); u32(avih, quint32(qAbs(height)));
        for (int i = 0; i < 4; ++i) u32(avih, 0);
        QByteArray hdrl = chunk("avih", avih);
        if (audioStreamFirst) hdrl += streamList("auds", false);
        hdrl += streamList("vids", true);
        const char* id = audioStreamFirst ? "01dc" : "00dc";
        QByteArray movi;
        if (junkBeforeFrames) movi += chunk("JUNK", QByteArray(7, 'j'));
        for (const QByteArray& f : frames) {
            QByteArray c = chunk(id, f);
            if (audioStreamFirst) c = chunk("00wb", QByteArray(3, 'a')) + c;
            movi += framesInRecLists ? list("rec ", c) : c;
        }
        QByteArray body("AVI ");
        body += list("hdrl", hdrl) + list("movi", movi);
        QByteArray out("RIFF");
        u32(out, quint32(body.size()));
        return out + body;
    }
};

} // namespace zk::test
