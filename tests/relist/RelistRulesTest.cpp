// The relist rules that need no browser: the relist address of an item page, the batch of a
// bulk pass and the price panel's slide.
#include "relist/PanelSlide.h"
#include "relist/RelistRules.h"

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

} // namespace
