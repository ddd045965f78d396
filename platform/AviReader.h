#pragma once
// Reads the small AVI clips the guide animation plays: one video stream of uncompressed 8-bit
// (with palette), uncompressed 24-bit or RLE8 frames. Every size and offset in the file is
// checked before use, so a truncated or damaged clip ends in an error, never in a read outside
// the data.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QVector>

namespace zk {

class AviReader {
public:
    // Limits that keep a hostile header from asking for huge allocations.
    static constexpr int MaxSide = 4096;
    static constexpr qint64 MaxPixelsTotal = 64LL * 1024 * 1024; // over all frames
    static constexpr int MaxFrames = 10000;

    bool read(const QString& path);
    bool parse(const QByteArray& data);

    // The decoded frames, Format_RGB32, all of size(). Empty after a failure.
    const QList<QImage>& frames() const { return frames_; }
    QSize size() const { return size_; }
    // Frames per second from the stream header (rate / scale), else from the main header's
    // frame period; 0 when neither gives one.
    double frameRate() const { return frameRate_; }
    // Why the last read or parse failed; empty after success.
    const QString& errorString() const { return error_; }

    // Decodes one RLE8 frame into an index buffer (width * height bytes, row 0 the bottom row)
    // whose previous content stays where the frame skips pixels. False when the data is cut
    // short inside a run. Public for the tests of its edge cases.
    static bool decodeRle8(const QByteArray& data, int width, int height, QByteArray& indexes);

private:
    bool fail(const QString& why);
    void reset();

    QList<QImage> frames_;
    QSize size_;
    double frameRate_ = 0;
    QString error_;
};

} // namespace zk
