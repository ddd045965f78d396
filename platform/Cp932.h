#pragma once
// Conversion between the program's Unicode text and the CP932 (Windows-31J) bytes that every
// file of the seller's (settings, category lists, templates) holds.
#include <QByteArray>
#include <QString>

namespace zk::cp932 {

// Unmappable characters become '?', as Windows' WideCharToMultiByte does by default.
QByteArray fromUnicode(const QString& text);
// Bytes that are not valid CP932 become U+FFFD; conversion never fails.
QString toUnicode(const QByteArray& bytes);
QString toUnicode(const char* data, int size);
// First byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool isLeadByte(unsigned char byte);
// Number of CP932 bytes the text takes.
int byteLength(const QString& text);

} // namespace zk::cp932
