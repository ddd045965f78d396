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
    // IDs are whole: one relisted leaves the items whose IDs hold it, or are held in it, alone.
    EXPECT_EQ(collectBatch({item + "b123", item + "b1234", item + "b12"}, Host, {"b123"}, {}),
              QStringList({item + "b1234", item + "b12"}));

    QStringList many;
    for (int i = 0; i < 120; ++i) many << item + QString("b%1").arg(i, 3, 10, QChar('0'));
    const QStringList batch = collectBatch(many, Host, {}, {});
    ASSERT_EQ(batch.size(), BatchSize);
    EXPECT_EQ(batch.first(), item + "b000");
    EXPECT_EQ(batch.last(), item + "b049");
}

// The items of a list page: each once, by the ID its page address ends with, in page order.
TEST(BulkWalk, AListPagesItemsAreTakenOnceEachByTheirIDs) {
    const QString item = "http://page.auctions.sim.test:18080/jp/auction/";
    const QString jump = "http://auctions.sim.test:18080/jp/jump?u=" + item + "a2";
    const QStringList hrefs = {"http://auctions.sim.test:18080/jp/show/mystatus?select=closed&hasWinner=0&apg=2",
                               item + "a1", item + "a2", jump, item + "a1", item + "a3/",
                               "http://elsewhere.test/jp/auction/a9", item + "a4"};
    EXPECT_EQ(listedItems(hrefs, Host),
              QList<ListedItem>({{"a1", item + "a1"}, {"a2", item + "a2"}, {"a4", item + "a4"}}))
        << "a second link to an item is the same item; a link that names no ID is none";

    const QList<ListedItem> page = listedItems({item + "a1", item + "a2", item + "a3", item + "a4"}, Host);
    struct Case {
        const char* what;
        RunChoice choice;
        QSet<QString> opened;
        QStringList open;
    };
    const Case cases[] = {
        {"every item", {}, {}, {"a1", "a2", "a3", "a4"}},
        {"every item not opened yet", {}, {"a1", "a3"}, {"a2", "a4"}},
        {"the ticked ones, wherever they moved", {false, {"a4", "a2", "z9"}}, {}, {"a2", "a4"}},
        {"the ticked ones not opened yet", {false, {"a4", "a2"}}, {"a2"}, {"a4"}},
        {"none ticked is nothing, not everything", {false, {}}, {}, {}},
    };
    for (const Case& c : cases) {
        QStringList open;
        for (const ListedItem& i : itemsToOpen(page, c.choice, c.opened)) open << i.id;
        EXPECT_EQ(open, c.open) << c.what;
    }
    EXPECT_TRUE((RunChoice{false, {"a1", "a2"}}).allOpened({"a1", "a2", "a3"}));
    EXPECT_FALSE((RunChoice{false, {"a1", "a2"}}).allOpened({"a1"}));
    EXPECT_FALSE(RunChoice{}.allOpened({"a1"})) << "a run over every item ends with the list, not with a plan";
}

TEST(BulkWalk, TheNextPageIsThePagesOwnLinkToIt) {
    const QString base = "http://auctions.sim.test:18080/jp/show/mystatus?select=closed&hasWinner=0";
    EXPECT_EQ(listPageNumber(base), 1);
    EXPECT_EQ(listPageNumber(base + "&apg=3"), 3);
    EXPECT_EQ(listPageNumber(base + "&apg=x"), 1);
    struct Case {
        const char* what;
        QStringList hrefs;
        int page;
        QString next;
    };
    const Case cases[] = {
        {"the first page", {base + "&apg=2"}, 1, base + "&apg=2"},
        {"not the page before", {base + "&apg=1", base + "&apg=3"}, 2, base + "&apg=3"},
        {"page 20 is not page 2", {base + "&apg=20"}, 1, ""},
        {"the last page", {base + "&apg=4"}, 5, ""},
        {"item links are no pages", {"http://page.auctions.sim.test:18080/jp/auction/k2"}, 1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(nextPageLink(c.hrefs, c.page), c.next) << c.what;
}

// After the items of a page: relisted items leave it, so it is read again; a page whose items
// all stayed (skipped at the floor, refused, failed) gives way to the next one.
TEST(BulkWalk, APageOfItemsThatStayedGivesWayToTheNextPage) {
    struct Case {
        const char* what;
        int relisted;
        bool allOpened, hasNext;
        ListMove move;
    };
    const Case cases[] = {
        {"some relisted: the page again", 2, false, true, ListMove::Again},
        {"some relisted on the last page: again", 1, false, false, ListMove::Again},
        {"all stayed: the next page", 0, false, true, ListMove::Next},
        {"all stayed on the last page: the end", 0, false, false, ListMove::End},
        {"every item taken is opened: the end", 3, true, true, ListMove::End},
    };
    for (const Case& c : cases) EXPECT_EQ(afterListPage(c.relisted, c.allOpened, c.hasNext), c.move) << c.what;
}

// The walk over a list as the site keeps it (relisted items leave it, the rest move up), with
// the items that stay where the list puts them: every item is tried once, every other relisted.
TEST(BulkWalk, EveryItemOfEveryPageIsTriedOnceWhereverTheItemsThatStayAre) {
    const QString item = "http://page.auctions.sim.test:18080/jp/auction/";
    const QString base = "http://auctions.sim.test:18080/jp/show/mystatus?select=closed&hasWinner=0";
    struct Case {
        const char* what;
        QString stays; // one letter per item in list order: 's' stays, '.' is relisted
        int pageSize;
        RunChoice choice;
        int tried;
    };
    const Case cases[] = {
        {"a full first page that stays", "sssss...", 5, {}, 8},
        {"two full pages that stay", "ssssssssss..", 5, {}, 12},
        {"items that stay here and there", ".s.s.s.s.s.s", 3, {}, 12},
        {"none stays", "..........", 4, {}, 10},
        {"only the last page holds any", "sssss.", 5, {}, 6},
        {"ticked ones behind a page that stays", "sssss...", 5, {false, {"i6", "i7"}}, 2},
    };
    for (const Case& c : cases) {
        QStringList list;
        for (int i = 0; i < c.stays.size(); ++i) list << QString("i%1").arg(i);
        const QStringList stays = [&] {
            QStringList s;
            for (int i = 0; i < c.stays.size(); ++i)
                if (c.stays[i] == 's') s << list[i];
            return s;
        }();
        auto pageLinks = [&](int page) {
            QStringList hrefs;
            for (int i = (page - 1) * c.pageSize; i < std::min<int>(list.size(), page * c.pageSize); ++i) hrefs << item + list[i];
            if (page * c.pageSize < list.size()) hrefs << base + QString("&apg=%1").arg(page + 1);
            return hrefs;
        };
        QSet<QString> opened;
        int tried = 0, reads = 0;
        for (int page = 1; reads < 100; ++reads) {
            const QStringList hrefs = pageLinks(page);
            int relisted = 0;
            for (const ListedItem& i : itemsToOpen(listedItems(hrefs, Host), c.choice, opened)) {
                opened.insert(i.id);
                ++tried;
                if (!stays.contains(i.id)) {
                    list.removeAll(i.id);
                    ++relisted;
                }
            }
            const QString next = nextPageLink(hrefs, page);
            const ListMove move = afterListPage(relisted, c.choice.allOpened(opened), !next.isEmpty());
            if (move == ListMove::End) break;
            if (move == ListMove::Next) page = listPageNumber(next);
        }
        EXPECT_LT(reads, 100) << c.what << ": the walk did not end";
        EXPECT_EQ(tried, c.tried) << c.what;
        if (c.choice.everyItem) EXPECT_EQ(list, stays) << c.what << ": left on the list";
        else EXPECT_TRUE(c.choice.allOpened(opened)) << c.what;
    }
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
        // Never raised and never below the start: a buy-now price under the floor goes.
        {"a buy-now under the floor goes, never raised", rule("10", true, "500"), 400, 450, {}, V::AtFloor, 500, 0},
        {"start and buy-now both under the floor", rule("10", true, "500"), 300, 400, {}, V::AtFloor, 500, 0},
        {"a buy-now at the floor stays", rule("10", true, "500"), 300, 500, {}, V::AtFloor, 500, 500},
        {"a buy-now a yen over the floor stays", rule("10", true, "500"), 450, 501, {}, V::AtFloor, 500, 501},
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
    EXPECT_EQ(priceValue("1,200 円"), 1200) << "as the site's lists show it";
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
