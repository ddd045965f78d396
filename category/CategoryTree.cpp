#include "category/CategoryTree.h"

#include "category/CategoryLine.h"

namespace zk::category {
namespace {

constexpr int kHistoryAncestors = 3;

int indentation(const QByteArray& line) {
    int n = 0;
    while (n < line.size() && (line[n] == '\t' || line[n] == ' ')) ++n;
    return n;
}

} // namespace

void CategoryTree::clear() {
    nodes_.clear();
    badLine_ = -1;
}

bool CategoryTree::parse(const QByteArray& data) {
    clear();
    // Category lines are short; this avoids most reallocations on large files.
    nodes_.reserve(size_t(data.size() / 24 + 1));
    QByteArray line;
    qsizetype pos = 0;
    while ((pos = readLine(data, pos, &line)) >= 0) {
        const int level = indentation(line);
        CategoryNode node;
        node.text = line.mid(level);
        const int index = size();
        if (index > 0) {
            // Every node after the first stands at the depth of its indentation; the first is
            // top-level however it is indented.
            const int previous = index - 1;
            const int previousDepth = nodes_[size_t(previous)].depth;
            if (level > previousDepth + 1) {
                badLine_ = index;
                return false;
            }
            if (level == previousDepth + 1) {
                node.parent = previous;
            } else {
                int sibling = previous;
                while (nodes_[size_t(sibling)].depth > level) sibling = nodes_[size_t(sibling)].parent;
                node.parent = nodes_[size_t(sibling)].parent;
                nodes_[size_t(sibling)].nextSibling = index;
            }
            node.depth = level;
        }
        nodes_.push_back(std::move(node));
    }
    return true;
}

bool CategoryTree::hasChildren(int index) const {
    return contains(index + 1) && node(index + 1).parent == index;
}

int CategoryTree::topOf(int index) const {
    while (node(index).parent >= 0) index = node(index).parent;
    return index;
}

int CategoryTree::lastInside(int index) const {
    for (int n = index; n >= 0; n = node(n).parent)
        if (node(n).nextSibling >= 0) return node(n).nextSibling - 1;
    return size() - 1;
}

QByteArray CategoryTree::historyEntry(int index) const {
    QByteArray entry = node(index).text;
    int ancestor = node(index).parent;
    for (int i = 0; i < kHistoryAncestors && ancestor >= 0; ++i) {
        entry.prepend('>').prepend(node(ancestor).text);
        ancestor = node(ancestor).parent;
    }
    return entry;
}

QByteArray CategoryTree::codeOf(const QByteArray& text) {
    const qsizetype at = text.indexOf(kCodeSeparator);
    return at < 0 ? QByteArray() : text.mid(at + qsizetype(sizeof kCodeSeparator - 1));
}

} // namespace zk::category
