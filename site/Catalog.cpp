#include "site/Catalog.h"

namespace zk::site {

const std::vector<CategoryNode>& categoryTree() {
    static const std::vector<CategoryNode> tree{
        {0, "本・雑誌", ""},
        {1, "文学・小説", "2100100101"},
        {1, "コミック", ""},
        {2, "少年コミック", "2100100201"},
        {2, "少女コミック", "2100100202"},
        {1, "雑誌", "2100100301"},
        {0, "ホビー・カルチャー", ""},
        {1, "鉄道模型", ""},
        {2, "Nゲージ", "2100200101"},
        {2, "HOゲージ", "2100200102"},
        {1, "プラモデル", "2100200201"},
        {1, "切手・官製はがき", "2100200301"},
        {0, "ファッション", ""},
        {1, "メンズ", ""},
        {2, "ジャケット・上着", "2100300101"},
        {2, "シャツ", "2100300102"},
        {1, "レディース", ""},
        {2, "ワンピース", "2100300201"},
        {2, "バッグ", "2100300202"},
        {0, "家電・AV・カメラ", ""},
        {1, "オーディオ機器", "2100400101"},
        {1, "カメラ", ""},
        {2, "デジタルカメラ", "2100400201"},
        {2, "フィルムカメラ", "2100400202"},
        {3, "レンズ", "2100400203"},
        {0, "おもちゃ・ゲーム", "2100500001"},
        {0, "その他", "2100900001"},
    };
    return tree;
}

std::string categoryPath(const std::string& code) {
    const auto& tree = categoryTree();
    for (size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].code != code || code.empty()) continue;
        // Walk back to collect the ancestors: the nearest earlier node of each smaller depth.
        std::string path = tree[i].name;
        int depth = tree[i].depth;
        for (size_t j = i; j-- > 0 && depth > 0;) {
            if (tree[j].depth == depth - 1) {
                path = tree[j].name + " > " + path;
                depth = tree[j].depth;
            }
        }
        return path;
    }
    return {};
}

bool isKnownCategory(const std::string& code) { return !categoryPath(code).empty(); }

std::vector<std::string> categoryCodes() {
    std::vector<std::string> codes;
    for (const auto& node : categoryTree())
        if (!node.code.empty()) codes.push_back(node.code);
    return codes;
}

} // namespace zk::site
