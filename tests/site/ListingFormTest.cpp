// The checks a submitted listing must pass before it becomes an auction.
#include "site/ListingForm.h"
#include "site/SiteTexts.h"

#include <gtest/gtest.h>

using namespace zk::site;

namespace {

const QDateTime Now = QDateTime::fromString("2026-12-07T10:30:00", Qt::ISODate);
const char* Category = "2100200101";

FieldMap validFields() {
    return FieldMap{{"item_title", "  鉄道模型 Nゲージ 車両セット  "},
                    {"item_description", "<b>美品</b>です"},
                    {"html_mode", "1"},
                    {"salesmode", "auction"},
                    {"price_start", "1500"},
                    {"price_buynow", "3000"},
                    {"ClosingDate", "2026-12-09"},
                    {"ClosingTime", "22"},
                    {"ship_payer", "buyer"},
                    {"bank_name2", "見本信用金庫"}};
}

std::vector<std::string> check(const FieldMap& fields, Item* out = nullptr, const QDateTime& shownAt = Now,
                               const QDateTime& now = Now) {
    Item item;
    const auto errors = validateListing(fields, Category, now, shownAt, item);
    if (out) *out = item;
    return errors;
}

bool has(const std::vector<std::string>& errors, const char* message) {
    return std::find(errors.begin(), errors.end(), message) != errors.end();
}

} // namespace

TEST(ListingForm, AValidListingKeepsEveryFieldAndTheSlotItReceived) {
    Item item;
    ASSERT_TRUE(check(validFields(), &item).empty());
    EXPECT_EQ(item.title, "鉄道模型 Nゲージ 車両セット");
    EXPECT_EQ(item.description, "<b>美品</b>です");
    EXPECT_TRUE(item.htmlDescription);
    EXPECT_EQ(item.startPrice, 1500);
    EXPECT_EQ(item.buyNowPrice, 3000);
    EXPECT_EQ(item.closingDate, QDate(2026, 12, 9));
    EXPECT_EQ(item.closingHour, 22);
    EXPECT_EQ(item.category, Category);
    EXPECT_EQ(item.fields.at("bank_name2"), "見本信用金庫");
    EXPECT_EQ(item.fields.at("ship_payer"), "buyer");
}

TEST(ListingForm, TitleMustBePresentAndWithinSixtyBytes) {
    FieldMap f = validFields();
    f["item_title"] = "   ";
    EXPECT_TRUE(has(check(f), texts::TitleMissing));
    f.erase("item_title");
    EXPECT_TRUE(has(check(f), texts::TitleMissing));

    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "あ";
    f["item_title"] = thirty;
    EXPECT_TRUE(check(f).empty());
    f["item_title"] = thirty + "い";
    EXPECT_TRUE(has(check(f), texts::TitleTooLong));
    f["item_title"] = std::string(60, 'a');
    EXPECT_TRUE(check(f).empty());
    f["item_title"] = std::string(61, 'a');
    EXPECT_TRUE(has(check(f), texts::TitleTooLong));
}

TEST(ListingForm, PricesAreHalfWidthNumbersAndBuyNowNotBelowStart) {
    FieldMap f = validFields();
    for (const char* bad : {"abc", "0", "-5", "1,000", "１５００", "", "1e3"}) {
        f["price_start"] = bad;
        EXPECT_TRUE(has(check(f), texts::StartPriceInvalid)) << bad;
    }
    f["price_start"] = " 1500 ";
    EXPECT_TRUE(check(f).empty());

    f["price_buynow"] = "1499";
    EXPECT_TRUE(has(check(f), texts::BuyNowBelowStart));
    f["price_buynow"] = "1500";
    EXPECT_TRUE(check(f).empty());
    f["price_buynow"] = "x";
    EXPECT_TRUE(has(check(f), texts::BuyNowInvalid));

    // The panel writes a single space when it has no buy-now price.
    Item item;
    f["price_buynow"] = " ";
    EXPECT_TRUE(check(f, &item).empty());
    EXPECT_EQ(item.buyNowPrice, 0);
}

TEST(ListingForm, SalesModeMustBeChosenAndFixedPriceNeedsABuyNowPrice) {
    FieldMap f = validFields();
    f.erase("salesmode");
    EXPECT_TRUE(has(check(f), texts::SalesModeMissing));
    f["salesmode"] = "fixed";
    f["price_buynow"] = "";
    EXPECT_TRUE(has(check(f), texts::BuyNowInvalid));
}

TEST(ListingForm, ClosingSlotMustBeOneTheListsOffered) {
    FieldMap f = validFields();
    f["ClosingTime"] = "21";   // before the first date's first slot at 10:30
    EXPECT_TRUE(has(check(f), texts::ClosingTimeInvalid));
    f["ClosingDate"] = "2026-12-08";
    f["ClosingTime"] = "12";
    EXPECT_TRUE(has(check(f), texts::ClosingTimeInvalid));
    f["ClosingDate"] = "";
    EXPECT_TRUE(has(check(f), texts::ClosingDateInvalid));
    f["ClosingDate"] = "2026-12-10";
    f["ClosingTime"] = "";
    EXPECT_TRUE(has(check(f), texts::ClosingTimeInvalid));
    f["ClosingTime"] = "24";
    EXPECT_TRUE(has(check(f), texts::ClosingTimeInvalid));
}

TEST(ListingForm, ASlotOfferedWhenTheFormWasShownStaysValidAfterTheHourTurns) {
    // Shown at 12:59 (first date: slot 23 only), sent at 13:00 (first date from slot 1).
    const QDateTime shown = QDateTime::fromString("2026-12-07T12:59:00", Qt::ISODate);
    const QDateTime sent = QDateTime::fromString("2026-12-07T13:00:30", Qt::ISODate);
    FieldMap f = validFields();
    f["ClosingDate"] = "2026-12-14";   // last date at 12:59 holds every slot
    f["ClosingTime"] = "23";
    EXPECT_TRUE(check(f, nullptr, shown, sent).empty());
    f["ClosingDate"] = "2026-12-15";   // only offered from 13:00
    f["ClosingTime"] = "0";
    EXPECT_TRUE(check(f, nullptr, shown, sent).empty());
    f["ClosingTime"] = "1";            // offered at neither moment
    EXPECT_TRUE(has(check(f, nullptr, shown, sent), texts::ClosingTimeInvalid));
}

TEST(ListingForm, UnknownCategoryIsRefused) {
    Item item;
    const auto errors = validateListing(validFields(), "999", Now, Now, item);
    EXPECT_TRUE(has(errors, texts::UnknownCategory));
}

TEST(ListingForm, BlockCountsStayWithinTheFormsBounds) {
    EXPECT_EQ(blockCount(bankBlocks(), {}), bankBlocks().defaultCount);
    EXPECT_EQ(blockCount(bankBlocks(), {{"bank_count", "3"}}), 3);
    EXPECT_EQ(blockCount(bankBlocks(), {{"bank_count", "99"}}), bankBlocks().maxCount);
    EXPECT_EQ(blockCount(paymentBlocks(), {{"pay_count", "-2"}}), paymentBlocks().defaultCount);
    EXPECT_EQ(blockCount(paymentBlocks(), {{"pay_count", "x"}}), paymentBlocks().defaultCount);
}
