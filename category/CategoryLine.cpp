#include "category/CategoryLine.h"

#include "platform/Cp932.h"

#include <cstring>

namespace zk::category {

qsizetype characterBoundary(const char* bytes, qsizetype size, qsizetype limit) {
    if (size <= limit) return size;
    qsizetype i = 0;
    while (i < limit) {
        const qsizetype step = cp932::isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

qsizetype readLine(const QByteArray& data, qsizetype pos, QByteArray* line) {
    const qsizetype size = data.size();
    if (pos < 0 || pos >= size) return -1;
    const char* begin = data.constData() + pos;
    const void* newline = std::memchr(begin, '\n', size_t(size - pos));
    const qsizetype end = newline ? static_cast<const char*>(newline) - data.constData() : size;
    qsizetype length = end - pos;
    if (length > 0 && begin[length - 1] == '\r') --length;
    if (line) *line = QByteArray(begin, characterBoundary(begin, length, kMaxLineBytes));
    return newline ? end + 1 : size;
}

qsizetype skipLines(const QByteArray& data, qsizetype pos, int count) {
    for (int i = 0; i < count && pos >= 0; ++i) pos = readLine(data, pos, nullptr);
    return pos >= 0 && pos < data.size() ? pos : -1;
}

} // namespace zk::category
