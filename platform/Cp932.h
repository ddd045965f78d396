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
// The characters of the text that have no CP932 form, each once, in order. A character counts
// as what CP932 makes of it: the wave dash, the minus sign, ¢ £ ¬ and the like have forms there
// (the full-width ones, 0x8160, 0x817C, ...) and are not among these.
QString missingCharacters(const QString& text);
// The characters of the text that do not read back as themselves from CP932, each once, in
// order: the missing ones and those CP932 keeps in another form ("〜" comes back as "～"). What
// must come back as it was written (a folder, a password) may hold none of these.
QString unkeptCharacters(const QString& text);

} // namespace zk::cp932
