#pragma once
// The search in category.txt: byte-exact on the file's CP932 lines, letter case significant,
// indentation and code tail included, only in the first 127 bytes of a line, and never
// matching from the second byte of a double-byte character.
#include <QByteArray>
#include <optional>

namespace zk::category {

constexpr int kSearchedBytes = 127;

// Offset of the first match of text in the searched part of line, -1 when there is none.
int findInLine(const QByteArray& line, const QByteArray& text);

struct SearchHit {
    int line;            // lines read before the matching one
    qsizetype nextPos;   // position just after the matching line
};

// Compares up to `count` lines starting at position pos of data; pos -1 reads nothing.
std::optional<SearchHit> searchLines(const QByteArray& data, qsizetype pos, int count, const QByteArray& text);

} // namespace zk::category
