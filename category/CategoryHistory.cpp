#include "category/CategoryHistory.h"

#include "category/CategoryTree.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zk::category {

CategoryHistory::LoadResult CategoryHistory::load(const QString& path) {
    entries_.clear();
    if (!QFileInfo::exists(path)) return LoadResult::Missing;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return LoadResult::ReadError;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return LoadResult::ReadError;
    // Every line, blank ones and any beyond kMaxEntries too: OK rewrites the file from this
    // list, and must not lose lines it did not choose to drop. A final line end adds no line.
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0) end = data.size();
        QByteArray line = data.mid(pos, end - pos);
        if (line.endsWith('\r')) line.chop(1);
        entries_ << line;
        pos = end + 1;
    }
    return LoadResult::Loaded;
}

bool CategoryHistory::save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (const QByteArray& entry : entries_) {
        file.write(entry);
        file.write("\r\n");
    }
    return file.commit();
}

void CategoryHistory::moveToTop(int i) {
    if (i > 0 && i < size()) entries_.move(i, 0);
}

void CategoryHistory::add(const QByteArray& entry) {
    const int existing = int(entries_.indexOf(entry));
    if (existing >= 0) {
        moveToTop(existing);
        return;
    }
    while (size() >= kMaxEntries) entries_.removeLast();
    entries_.prepend(entry);
}

bool CategoryHistory::hasCode(const QByteArray& entry) { return entry.contains(kCodeSeparator); }

QByteArray CategoryHistory::codeOf(const QByteArray& entry) {
    const qsizetype at = entry.lastIndexOf(kCodeSeparator);
    return at < 0 ? QByteArray() : entry.mid(at + qsizetype(sizeof kCodeSeparator - 1));
}

} // namespace zk::category
