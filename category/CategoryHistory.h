#pragma once
// The recently chosen categories of ctg_history.txt, most recent first, kept as the file's
// CP932 bytes so that rewriting the file never alters an entry.
#include <QByteArray>
#include <QList>
#include <QString>

namespace zk::category {

class CategoryHistory {
public:
    static constexpr int kMaxEntries = 25;
    enum class LoadResult { Loaded, Missing, ReadError };

    // Replaces the entries with the file's lines as they are (blank ones included, however
    // many). A missing or unreadable file leaves the history empty.
    LoadResult load(const QString& path);
    // Writes the entries, one per CR LF line, replacing the file only once it is complete.
    bool save(const QString& path) const;

    const QList<QByteArray>& entries() const { return entries_; }
    int size() const { return int(entries_.size()); }
    const QByteArray& at(int i) const { return entries_[i]; }
    void clear() { entries_.clear(); }

    void moveToTop(int i);
    // Puts the entry at the top: an equal entry moves up, otherwise the oldest entries give
    // way so that no more than kMaxEntries remain.
    void add(const QByteArray& entry);

    static bool hasCode(const QByteArray& entry);
    // The code is the text after the last separator: the entry's own node comes last, and an
    // ancestor in front of it may carry a code of its own.
    static QByteArray codeOf(const QByteArray& entry);

private:
    QList<QByteArray> entries_;
};

} // namespace zk::category
