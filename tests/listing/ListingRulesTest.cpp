// The pure rules of the item set and the submission, and what the site's end pages say.
#include "browser/SitePageRules.h"
#include "listing/ListingRules.h"

#include <gtest/gtest.h>

using namespace zk::listing;
using namespace zk::browser;

namespace {
const PriceField S = PriceField::Start;
const PriceField B = PriceField::BuyNow;
} // namespace

TEST(ListingPrices, PanelPricesOnlyWithoutWorkbookColumnAndWithAStartPrice) {
    // Workbook prices in use: the panel's are never written, "使用" or not.
    EXPECT_TRUE(listingPrices(true, 6, "1500", "3000", false).empty());
    EXPECT_TRUE(listingPrices(true, 1, "1500", "3000", false).empty());
    // -1 (never asked) and 0 (prompt cancelled) both leave the panel in charge.
    EXPECT_EQ(listingPrices(true, -1, "1500", "3000", false),
              (std::vector<PriceWrite>{{S, "1500"}, {B, "3000"}}));
    EXPECT_EQ(listingPrices(true, 0, "1500", "3000", false),
              (std::vector<PriceWrite>{{S, "1500"}, {B, "3000"}}));
    // "不使用": nothing, whatever the rows hold.
    EXPECT_TRUE(listingPrices(false, -1, "1500", "3000", false).empty());
    // An empty start price touches neither field, even with a buy-now price typed.
    EXPECT_TRUE(listingPrices(true, -1, "", "3000", false).empty());
}

TEST(ListingPrices, BuyNowIsTheStartPriceWithSokketuAndASpaceWhenEmpty) {
    EXPECT_EQ(listingPrices(true, -1, "1500", "3000", true), (std::vector<PriceWrite>{{S, "1500"}, {B, "1500"}}));
    EXPECT_EQ(listingPrices(true, -1, "1500", "", false), (std::vector<PriceWrite>{{S, "1500"}, {B, " "}}));
    // Typed text goes as it is: the site judges it.
    EXPECT_EQ(listingPrices(true, 0, "abc", "x", false), (std::vector<PriceWrite>{{S, "abc"}, {B, "x"}}));
}

TEST(RelistPrices, ThreeCasesOfTheRelistPanel) {
    EXPECT_TRUE(relistPrices(false, "100", "200", true).writes.empty());
    EXPECT_FALSE(relistPrices(false, "100", "200", true).copyPageStart);
    // "即決" with a buy-now price: that price into both fields.
    EXPECT_EQ(relistPrices(true, "100", "200", true).writes, (std::vector<PriceWrite>{{S, "200"}, {B, "200"}}));
    // "即決" without one: the page's own start price is copied into the buy-now field.
    const RelistPricePlan copy = relistPrices(true, "100", "", true);
    EXPECT_TRUE(copy.writes.empty());
    EXPECT_TRUE(copy.copyPageStart);
    // Otherwise both as typed, empty ones too (they clear the page's fields).
    EXPECT_EQ(relistPrices(true, "", "", false).writes, (std::vector<PriceWrite>{{S, ""}, {B, ""}}));
}

TEST(PageAddresses, ConfirmationPageAndCompletionPage) {
    EXPECT_TRUE(isConfirmationPage("https://auctions.sim.test/jp/show/preview"));
    // "preview" elsewhere in the address is still the entry form.
    EXPECT_FALSE(isConfirmationPage("https://auctions.sim.test/jp/show/preview?draft=1"));
    EXPECT_FALSE(isConfirmationPage("https://auctions.sim.test/jp/preview/form"));
    EXPECT_FALSE(isConfirmationPage("https://auctions.sim.test/jp/show/submit"));
    // Ends with it even though it is also found earlier.
    EXPECT_TRUE(isConfirmationPage("https://auctions.sim.test/preview/jp/show/preview"));
    EXPECT_FALSE(isConfirmationPage(""));

    EXPECT_TRUE(isCompletionPage("http://auctions.sim.test/jp/config/submit", "auctions.sim.test"));
    EXPECT_FALSE(isCompletionPage("http://other.test/jp/config/submit", "auctions.sim.test"));
    EXPECT_FALSE(isCompletionPage("http://auctions.sim.test/jp/config/submit", ""));
}

TEST(CompletionValues, AuctionIdTimeAndMarker) {
    EXPECT_EQ(auctionIdFromLink("http://page.auctions.sim.test/jp/auction/k1000000083"), "k1000000083");
    // A link ending in "/" has an empty ID; one without "/" is all ID.
    EXPECT_EQ(auctionIdFromLink("http://page.auctions.sim.test/jp/auction/"), "");
    EXPECT_EQ(auctionIdFromLink("k123"), "k123");
    EXPECT_EQ(auctionIdFromLink(""), "");

    EXPECT_EQ(listingTimeText(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), "2026/01/02 03:04:05");

    EXPECT_TRUE(holdsListedMarker("この商品は出品済みです", "出品済み"));
    EXPECT_FALSE(holdsListedMarker("出品中", "出品済み"));
    // An empty marker would be found in every text: it finds nothing.
    EXPECT_FALSE(holdsListedMarker("anything", ""));
}

// A listing in doubt is looked for among the selling list's links: the item pages whose text is
// the title sent, less the IDs that other rows hold.
TEST(ListingCandidates, TitleItemHostAndKnownIds) {
    using zk::listing::ListLink;
    const QString host = "auctions.sim.test:18080";
    const QString title = QString::fromUtf8("練習カメラ");
    const auto page = [](const QString& id) { return "http://page.auctions.sim.test:18080/jp/auction/" + id; };
    const std::vector<ListLink> links = {
        {title, page("k3")},
        {QString(), page("k3")},                                  // the picture link beside it
        {" " + title + " ", page("k2") + "/"},                    // a trailing slash, spaces
        {title + "2", page("k9")},                                // another title
        {title, "http://auctions.sim.test:18080/jp/jump?u=x/k7"}, // not an item page
        {title, page("k1")},                                      // an older listing of a row
        {title, page("k3")},                                      // the same item again
    };
    const auto found = zk::listing::listingCandidates(links, title, host, {"k1"});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].id, "k3");
    EXPECT_EQ(found[1].id, "k2");
    EXPECT_EQ(found[1].link, page("k2"));
    EXPECT_TRUE(zk::listing::listingCandidates(links, "  ", host, {}).empty());
}
