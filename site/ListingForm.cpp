#include "site/ListingForm.h"

#include "platform/Cp932.h"
#include "site/Catalog.h"
#include "site/ClosingSlots.h"
#include "site/SiteTexts.h"

#include <QString>

namespace zk::site {

const std::vector<FixedField>& fixedFields() {
    static const std::vector<FixedField> fields{
        {"item_condition", FieldKind::Combo, "商品の状態",
         {{"new", "新品、未使用"}, {"like_new", "未使用に近い"}, {"good", "目立った傷や汚れなし"},
          {"fair", "やや傷や汚れあり"}, {"poor", "傷や汚れあり"}, {"bad", "全体的に状態が悪い"}}},
        {"return_ok", FieldKind::Check, "返品", {{"1", "返品を受け付ける"}}},
        {"ship_payer", FieldKind::Radio, "送料負担", {{"buyer", "落札者"}, {"seller", "出品者"}}},
        {"ship_method", FieldKind::Combo, "配送方法",
         {{"teikeigai", "定形外郵便"}, {"yupack", "ゆうパック"}, {"takkyubin", "宅配便"},
          {"letterpack", "レターパック"}, {"handover", "手渡し"}}},
        {"ship_from", FieldKind::Combo, "発送元の地域",
         {{"13", "東京都"}, {"14", "神奈川県"}, {"27", "大阪府"}, {"23", "愛知県"}, {"40", "福岡県"}, {"01", "北海道"}}},
        {"ship_days", FieldKind::Combo, "発送までの日数", {{"1-2", "1～2日"}, {"2-3", "2～3日"}, {"3-7", "3～7日"}}},
        {"ship_note", FieldKind::Text, "発送についての補足", {}},
        {"auto_extend", FieldKind::Check, "自動延長", {{"1", "終了前5分間に入札されたら5分延長する"}}},
        {"early_close", FieldKind::Check, "早期終了", {{"1", "早期終了を受け付ける"}}},
        {"bidder_limit", FieldKind::Check, "入札者評価制限", {{"1", "評価の悪い入札者を制限する"}}},
    };
    return fields;
}

const BlockKind& bankBlocks() {
    static const BlockKind kind{"bank", "銀行振込", 1, 10,
                                {{"bank_name", "銀行名"}, {"bank_branch", "支店名"}, {"bank_account", "口座番号"},
                                 {"bank_holder", "口座名義"}}};
    return kind;
}

const BlockKind& paymentBlocks() {
    static const BlockKind kind{"pay", "その他の決済方法", 0, 5, {{"pay_name", "決済方法"}, {"pay_note", "補足"}}};
    return kind;
}

int blockCount(const BlockKind& kind, const FieldMap& fields) {
    const auto it = fields.find(kind.key + "_count");
    if (it == fields.end()) return kind.defaultCount;
    const long long n = parsePrice(it->second);
    if (n < 0) return kind.defaultCount;
    return static_cast<int>(std::min<long long>(std::max<long long>(n, 0), kind.maxCount));
}

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

long long parsePrice(const std::string& text) {
    const std::string t = trimmed(text);
    if (t.empty() || t.size() > 12) return -1;
    long long value = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<std::string> validateListing(const FieldMap& fields, const std::string& category,
                                         const QDateTime& now, const QDateTime& shownAt, Item& item) {
    auto value = [&](const char* name) -> std::string {
        const auto it = fields.find(name);
        return it == fields.end() ? std::string() : it->second;
    };
    std::vector<std::string> errors;
    if (!isKnownCategory(category)) errors.push_back(texts::UnknownCategory);

    const std::string title = trimmed(value(texts::TitleField));
    if (title.empty())
        errors.push_back(texts::TitleMissing);
    else if (cp932::byteLength(QString::fromStdString(title)) > 60)
        errors.push_back(texts::TitleTooLong);

    const std::string salesMode = value("salesmode");
    if (salesMode != "auction" && salesMode != "fixed") errors.push_back(texts::SalesModeMissing);

    const long long start = parsePrice(value(texts::StartPriceField));
    if (start < 1 || start > 999999999) errors.push_back(texts::StartPriceInvalid);
    // The panel writes a single space for "no buy-now price".
    const std::string buyText = trimmed(value(texts::BuyNowPriceField));
    long long buy = 0;
    if (!buyText.empty()) {
        buy = parsePrice(buyText);
        if (buy < 1 || buy > 999999999)
            errors.push_back(texts::BuyNowInvalid);
        else if (start >= 1 && buy < start)
            errors.push_back(texts::BuyNowBelowStart);
    } else if (salesMode == "fixed") {
        errors.push_back(texts::BuyNowInvalid);
    }

    const QDate date = QDate::fromString(QString::fromStdString(value(texts::ClosingDate)), Qt::ISODate);
    const long long hour = parsePrice(value(texts::ClosingTime));
    if (!date.isValid()) {
        errors.push_back(texts::ClosingDateInvalid);
    } else if (hour < 0 || hour > 23 ||
               !(isOfferedSlot(now, date, static_cast<int>(hour)) ||
                 (shownAt.isValid() && isOfferedSlot(shownAt, date, static_cast<int>(hour))))) {
        errors.push_back(texts::ClosingTimeInvalid);
    }

    if (!errors.empty()) return errors;
    item.category = category;
    item.title = title;
    item.description = value(texts::DescriptionField);
    item.htmlDescription = value("html_mode") == "1";
    item.startPrice = start;
    item.buyNowPrice = buy;
    item.salesMode = salesMode;
    item.closingDate = date;
    item.closingHour = static_cast<int>(hour);
    item.fields = fields;
    return errors;
}

} // namespace zk::site
