#pragma once
// Lines of category.txt as the tree and the search both see them. Both must split the file the
// same way, because a node's absolute index is its line number.
#include <QByteArray>

namespace zk::category {

// A line holds at most 255 bytes with its line end; this is what is left for its text.
constexpr int kMaxLineBytes = 254;

// Reads the line that starts at pos: its bytes without the line end (LF or CR LF), cut to
// kMaxLineBytes without splitting a double-byte character; the rest of a longer line is
// skipped, so that one line always stays one node. Returns the position after the line end,
// or -1 when pos is at or past the end of data.
qsizetype readLine(const QByteArray& data, qsizetype pos, QByteArray* line);

// Position of the start of line `count` (0-based) counted from pos; -1 when the data ends first.
qsizetype skipLines(const QByteArray& data, qsizetype pos, int count);

// Length of the longest prefix of bytes that is at most `limit` long and does not end between
// the two bytes of a double-byte character.
qsizetype characterBoundary(const char* bytes, qsizetype size, qsizetype limit);

} // namespace zk::category
