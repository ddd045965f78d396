#pragma once
// Section LINK of CategoryLink.ini: "1234=567" makes the node with absolute index 1234 stand
// for node 567.
#include <QHash>
#include <QStringList>

namespace zk::category {

class CategoryLinks {
public:
    // Takes the section's "key=value" lines. Entries whose key or value is not a decimal index
    // are left out: they cannot name a node.
    void setEntries(const QStringList& lines);
    // Reads section LINK of the file; with no file or no such section there are no links.
    void load(const QString& iniPath);

    // Whether the section exists (even when empty).
    bool exists() const { return exists_; }
    int size() const { return int(targets_.size()); }
    // The node that index stands for, -1 when it is no link.
    int targetOf(int index) const { return targets_.value(index, -1); }

private:
    QHash<int, int> targets_;
    bool exists_ = false;
};

} // namespace zk::category
