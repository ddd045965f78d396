#pragma once
// Writes the guide clip: an AVI file with one video stream of 8-bit palette frames, stored
// RLE8-compressed or uncompressed.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace zk::art {

enum class AviCompression { None, Rle8 };

// One row of palette indexes as RLE8 codes (encoded runs, absolute runs padded to 16 bits),
// without the end-of-line mark.
QByteArray encodeRle8Row(const uchar* row, int width);
// A whole frame, bottom row first, rows separated by end-of-line and closed by end-of-bitmap.
QByteArray encodeRle8(const QImage& indexed);

// All frames must be Format_Indexed8 of one size and share the first frame's colour table.
// Returns an empty array when they do not.
QByteArray encodeAvi(const QList<QImage>& frames, int framesPerSecond, AviCompression compression);
bool writeAvi(const QString& path, const QList<QImage>& frames, int framesPerSecond, AviCompression compression);

} // namespace zk::art
