// The relist rules that need no browser: the relist address of an item page, the batch of a
// bulk pass, the price panel's slide, the step-down and the lines of the relist log.
#include "listing/ListingRules.h"
#include "relist/PanelSlide.h"
#include "relist/RelistRules.h"
#include "relist/StepDown.h"

#include <gtest/gtest.h>

using namespace zk::relist;

namespace {

const QString Host = "auctions.sim.test:18080";

TEST(RelistRules, TheRelistAddressKeepsTheItemPagesSubHostAndTakesTheLastPathSegmentAsID) {
    const RelistTarget t = relistTarget("http://page.auctions.sim.test:18080/jp/auction/u1234", Host);
    EXPECT_EQ(t.auctionId, "u1234");
    EXPECT_EQ(t.address, "http://page.auctions.sim.test:18080/jp/show/resubmit?aID=u1234");
    // An address that ends with "/" names no item.
    EXPECT_EQ(relistTarget("http://page.auctions.sim.test:18080/jp/auction/", Host).auctionId, "");
    // Everything up to the first ".", whatever follows.
    EXPECT_EQ(relistTarget("https://x.y.z/a/b9", "host").address, "https://x.host/jp/show/resubmit?aID=b9");
}

TEST(RelistRules, ABatchTakesItemLinksInPageOrderOnceAndAtMostFifty) {
    const QString item = "http://page.auctions.sim.test:18080/jp/auction/";
    QStringList hrefs = {"http://auctions.sim.test:18080/jp/show/mystatus?select=closed&hasWinner=0&apg=2",
                         item + "a1", item + "a2", item + "a1", "http://elsewhere.test/jp/auction/a9", item + "a3"};
    // Links to the same item twice are both taken: the list pairs links with boxes by position.
    EXPECT_EQ(collectBatch(hrefs, Host, {}, {}), QStringList({item + "a1", item + "a2", item + "a1", item + "a3"}));
    // IDs relisted in this run and pages opened in this run are not taken again.
    EXPECT_EQ(collectBatch(hrefs, Host, {"a1"}, {item + "a3"}), QStringList({item + "a2"}));
    EXPECT_EQ(collectBatch(hrefs, Host, {""}, {}).size(), 4) << "an empty ID matches nothing";

    QStringList many;
    for (int i = 0; i < 120; ++i) many << item + QString("b%1").arg(i, 3, 10, QChar('0'));
    const QStringList batch = collectBatch(many, Host, {}, {});
    ASSERT_EQ(batch.size(), BatchSize);
    EXPECT_EQ(batch.first(), item + "b000");
    EXPECT_EQ(batch.last(), item + "b049");
}

TEST(PanelSlide, OpensLeftwardsToTheNeighbourExactlyAndClosesToItsRightEdge) {
    const QRect neighbour(272, 1, 136, 109);
    QRect panel(408, 1, 0, 109);
    int ticks = 0;
    for (SlideStep step{panel, false}; !step.done; ++ticks) {
        step = slideOpen(panel, neighbour);
        EXPECT_EQ(step.panel.x() + step.panel.width(), 408) << "the right edge stays";
        panel = step.panel;
        ASSERT_LT(ticks, 100);
    }
    EXPECT_EQ(panel, neighbour);
    EXPECT_EQ(ticks, 14) << "13 steps of 10 px, then the exact rectangle";
    for (SlideStep step{panel, false}; !step.done;) {
        step = slideClose(panel, neighbour);
        panel = step.panel;
    }
    EXPECT_EQ(panel, QRect(408, 1, 0, 109));
}

// The step-down, one case per line: the rule, the item's prices now and its own floor, and what
// it goes up again at.
TEST(StepDown, EachItemGoesUpAStepCheaperNeverBelowItsFloor) {
    using V = SteppedPrices::Verdict;
    auto rule = [](const char* step, bool percent, const char* floor, bool fromColumn = false, bool skip = false,
                   bool drop = false) {
        const auto r = parseStepDown(step, percent, floor, fromColumn, skip, drop);
        EXPECT_TRUE(r.has_value()) << step << " / " << floor;
        return r.value_or(StepDownRule{});
    };
    struct Case {
        const char* what;
        StepDownRule rule;
        qint64 start, buy;
        std::optional<qint64> ownFloor;
        V verdict;
        qint64 newStart, newBuy;
    };
    const Case cases[] = {
        {"10 % off", rule("10", true, "500"), 4000, 0, {}, V::Lowered, 3600, 0},
        {"a percent rounds down to whole yen", rule("10", true, ""), 1234, 0, {}, V::Lowered, 1110, 0},
        {"a fraction of a percent", rule("7.5", true, ""), 1001, 0, {}, V::Lowered, 925, 0},
        {"yen off", rule("300", false, "500"), 1000, 0, {}, V::Lowered, 700, 0},
        {"a step past the floor stops at it", rule("10", true, "500"), 520, 0, {}, V::Lowered, 500, 0},
        {"at the floor: relisted at it", rule("10", true, "500"), 500, 0, {}, V::AtFloor, 500, 0},
        {"below the floor: relisted at it", rule("100", false, "500"), 450, 0, {}, V::AtFloor, 500, 0},
        {"at the floor: skipped", rule("10", true, "500", false, true), 500, 0, {}, V::SkippedFloor, 500, 0},
        {"the step reaching the floor is no skip", rule("10", true, "500", false, true), 540, 0, {}, V::Lowered, 500, 0},
        {"the item's own floor from its column", rule("10", true, "500", true), 1000, 0, 950, V::Lowered, 950, 0},
        {"own floor below the rule's", rule("10", true, "500", true), 500, 0, 300, V::Lowered, 450, 0},
        {"no own floor: the rule's", rule("10", true, "500", true), 520, 0, std::nullopt, V::Lowered, 500, 0},
        {"a column floor unused unless chosen", rule("10", true, "500"), 1000, 0, 950, V::Lowered, 900, 0},
        {"no floor at all: the site's lowest", rule("5", false, ""), 3, 0, {}, V::Lowered, 1, 0},
        {"buy-now stepped down too", rule("10", true, "500"), 4000, 6000, {}, V::Lowered, 3600, 5400},
        {"buy-now kept a step above the start", rule("300", false, ""), 1000, 1100, {}, V::Lowered, 700, 1000},
        {"buy-now never raised", rule("200", false, "550"), 600, 650, {}, V::Lowered, 550, 650},
        {"buy-now dropped", rule("10", true, "500", false, false, true), 4000, 6000, {}, V::Lowered, 3600, 0},
        {"no buy-now stays none", rule("10", true, "500"), 4000, 0, {}, V::Lowered, 3600, 0},
        {"buy-now not below a start raised to the floor", rule("10", true, "500"), 400, 450, {}, V::AtFloor, 500, 500},
    };
    for (const Case& c : cases) {
        const SteppedPrices p = stepDown(c.rule, c.start, c.buy, c.ownFloor);
        EXPECT_EQ(p.verdict, c.verdict) << c.what;
        EXPECT_EQ(p.start, c.newStart) << c.what;
        EXPECT_EQ(p.buy, c.newBuy) << c.what;
        EXPECT_EQ(p.relisted(), c.verdict != V::SkippedFloor) << c.what;
    }
}

TEST(StepDown, ThePanelsTextsMakeARuleOrSayWhyNot) {
    struct Case {
        const char* step;
        bool percent;
        const char* floor;
        StepDownFault fault;
        qint64 stepValue, floorValue;
    };
    const Case cases[] = {
        {"10", true, "500", StepDownFault::None, 1000, 500},
        {"12.25％", true, "", StepDownFault::None, 1225, 0},
        {"1,000円", false, "1,500円", StepDownFault::None, 1000, 1500},
        {"", true, "500", StepDownFault::NoStep, 0, 0},
        {"0", true, "", StepDownFault::StepOutOfRange, 0, 0},
        {"100", true, "", StepDownFault::StepOutOfRange, 0, 0},
        {"1.005", true, "", StepDownFault::StepOutOfRange, 0, 0},
        {"-5", false, "", StepDownFault::StepOutOfRange, 0, 0},
        {"１００", false, "", StepDownFault::StepOutOfRange, 0, 0},
        {"100", false, "abc", StepDownFault::BadFloor, 0, 0},
        {"100", false, "0", StepDownFault::BadFloor, 0, 0},
    };
    for (const Case& c : cases) {
        StepDownFault fault = StepDownFault::None;
        const auto r = parseStepDown(c.step, c.percent, c.floor, false, false, false, &fault);
        EXPECT_EQ(fault, c.fault) << c.step << " / " << c.floor;
        EXPECT_EQ(r.has_value(), c.fault == StepDownFault::None) << c.step;
        if (r) {
            EXPECT_EQ(r->step, c.stepValue) << c.step;
            EXPECT_EQ(r->floor, c.floorValue) << c.floor;
        }
    }
    // Prices as a list page or a number cell shows them.
    EXPECT_EQ(priceValue("1,200円"), 1200);
    EXPECT_EQ(priceValue(" 800.0 "), 800);
    EXPECT_EQ(priceValue("8OO"), std::nullopt);
    EXPECT_EQ(priceValue(""), std::nullopt);
}

TEST(StepDown, APriceReadsAsTheListPageOrACellShowsIt) {
    const struct {
        const char* text;
        std::optional<qint64> yen;
    } cases[] = {
        {"1,000 円", 1000},  {"1,000円", 1000},       {"¥1,000", 1000},       {"￥1,000", 1000},
        {"¥ 1,000 円", 1000}, {"１，０００円", std::nullopt},   {"1000", 1000},         {"1,234,567", 1234567},
        {"1200.0", 1200},    {"  1,000 円 ", 1000},    {"1,00", std::nullopt}, {"10,0000", std::nullopt},
        {",500", std::nullopt}, {"-500", std::nullopt}, {"1.5", std::nullopt}, {"円", std::nullopt},
        {"価格未定", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(priceValue(QString::fromUtf8(c.text)), c.yen) << c.text;
}

TEST(StepDown, TheCheckBeforeARunNamesEachItemsPricesOrWhyItIsSkipped) {
    const StepDownRule r = *parseStepDown("10", true, "500", true, true, false);
    const PlannedRelist lowered = planRelist(r, "k1", "t", "4,000円", std::nullopt);
    EXPECT_EQ(lowered.oldPrice, "4000");
    EXPECT_EQ(lowered.newPrice, "3600");
    EXPECT_FALSE(lowered.skipped);
    const PlannedRelist skipped = planRelist(r, "k2", "t", "600円", 600);
    EXPECT_TRUE(skipped.skipped);
    EXPECT_TRUE(skipped.newPrice.isEmpty());
    EXPECT_TRUE(skipped.note.contains("600")) << skipped.note.toStdString();
    // A price the list does not show is judged when the form is open, not skipped.
    const PlannedRelist unread = planRelist(r, "k3", "t", "", std::nullopt);
    EXPECT_FALSE(unread.skipped);
    EXPECT_TRUE(unread.newPrice.isEmpty());
    // The list page's own way of showing a price gives the new price, not a judgement later.
    for (const char* shown : {"1,000 円", "¥1,000"}) {
        const PlannedRelist line = planRelist(*parseStepDown("10", true, "", false, false, false), "k4", "t",
                                              QString::fromUtf8(shown), std::nullopt);
        EXPECT_EQ(line.oldPrice, "1000") << shown;
        EXPECT_EQ(line.newPrice, "900") << shown;
        EXPECT_FALSE(line.skipped) << shown;
    }
}

TEST(RelistLog, LinesQuoteWhatWouldBreakTheColumnsAndTheFileIsNamedByTheDay) {
    RelistLogEntry e;
    e.at = QDateTime(QDate(2024, 3, 9), QTime(7, 5, 1));
    e.oldId = "k1";
    e.newId = "k2";
    e.title = "箱, \"美品\"";
    e.oldStart = "1000";
    e.newStart = "900";
    e.result = "再出品";
    EXPECT_EQ(relistLogLine(e), QString::fromUtf8("2024/03/09 07:05:01,k1,k2,\"箱, \"\"美品\"\"\",1000,,900,,再出品,"));
    EXPECT_EQ(relistLogName(QDate(2024, 3, 9)), QString::fromUtf8("20240309再出品ログ.csv"));
}

// The column that keeps a relisted item's old ID: found by its header, or made where it covers
// nothing of the seller's.
TEST(RelistedRow, TheOldIdColumnIsFoundOrMadeWhereNothingIsCovered) {
    const QStringList headers = {"オークションID", "商品名", "", " 旧オークションID ", ""};
    EXPECT_EQ(zk::listing::headedColumn(headers, "旧オークションID"), 4);
    EXPECT_EQ(zk::listing::headedColumn(headers, "最低価格"), 0);
    struct Case {
        const char* what;
        QStringList headers, row;
        int column;
    };
    const Case cases[] = {
        {"past the last header", {"A", "B", "", ""}, {"k1", "t", "", ""}, 3},
        {"past a gap in the headers", {"A", "", "C", ""}, {"k1", "", "", ""}, 4},
        {"not over the row's own note", {"A", "B", "", ""}, {"k1", "t", "note", ""}, 4},
        {"beyond what was read", {"A", "B"}, {"k1", "t"}, 3},
        {"an empty header row", {"", ""}, {"", ""}, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(zk::listing::freeColumn(c.headers, c.row), c.column) << c.what;
}

} // namespace
