#include "category/CategorySearch.h"

#include "category/CategoryLine.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cstring>

namespace zk::category {

int findInLine(const QByteArray& line, const QByteArray& text) {
    const qsizetype length = std::min<qsizetype>(line.size(), kSearchedBytes);
    const qsizetype n = text.size();
    if (n == 0) return -1;
    const char* bytes = line.constData();
    for (qsizetype i = 0; i + n <= length;) {
        if (std::memcmp(bytes + i, text.constData(), size_t(n)) == 0) return int(i);
        i += cp932::isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    }
    return -1;
}

std::optional<SearchHit> searchLines(const QByteArray& data, qsizetype pos, int count, const QByteArray& text) {
    QByteArray line;
    for (int i = 0; i < count && pos >= 0; ++i) {
        pos = readLine(data, pos, &line);
        if (pos < 0) break;
        if (findInLine(line, text) >= 0) return SearchHit{i, pos};
    }
    return std::nullopt;
}

} // namespace zk::category
