#pragma once
// The category tree as read from category.txt: one node per line, in file order, so that a
// node's absolute index is its line number. Node texts stay the file's CP932 bytes.
#include <QByteArray>
#include <vector>

namespace zk::category {

// Separates a node's name from its category code: "name ^/code".
inline constexpr char kCodeSeparator[] = " ^/";

struct CategoryNode {
    QByteArray text;     // the line without its indentation
    int depth = 0;       // 0 for a top-level node
    int parent = -1;
    int nextSibling = -1;
};

class CategoryTree {
public:
    // Builds the tree from the bytes of category.txt. Returns false when a line is indented by
    // more than one level beyond the node before it; the nodes before that line are kept.
    bool parse(const QByteArray& data);
    void clear();

    int size() const { return int(nodes_.size()); }
    bool isEmpty() const { return nodes_.empty(); }
    const CategoryNode& node(int index) const { return nodes_[size_t(index)]; }
    bool contains(int index) const { return index >= 0 && index < size(); }
    // Line number of the line that stopped loading, -1 when the whole file loaded.
    int badLine() const { return badLine_; }

    bool hasChildren(int index) const;
    // The top-level node that index lies under (index itself for a top-level node).
    int topOf(int index) const;
    // Absolute index of the last node of index's subtree.
    int lastInside(int index) const;
    // The history entry for a node: up to three nearest ancestors' texts, outermost first,
    // each followed by ">", then the node's own text.
    QByteArray historyEntry(int index) const;

    static bool hasCode(const QByteArray& text) { return text.contains(kCodeSeparator); }
    // The text after the first separator; empty when there is none.
    static QByteArray codeOf(const QByteArray& text);

private:
    std::vector<CategoryNode> nodes_;
    int badLine_ = -1;
};

} // namespace zk::category
