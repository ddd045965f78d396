#pragma once
// The categories the practice site knows: a small fixed tree whose coded leaves can be listed in.
// The data-folder generator writes the same tree as the seller's category list.
#include <string>
#include <vector>

namespace zk::site {

struct CategoryNode {
    int depth;          // 0 for a top category
    std::string name;
    std::string code;   // empty for a grouping node
};

// The tree in file order (pre-order).
const std::vector<CategoryNode>& categoryTree();
// The path of names from the top to the coded node ("ホビー > 鉄道模型 > Nゲージ"), empty when
// the code is unknown.
std::string categoryPath(const std::string& code);
bool isKnownCategory(const std::string& code);
// The coded categories in file order (used to spread seeded items over the tree).
std::vector<std::string> categoryCodes();

} // namespace zk::site
