// The collection's rules without browser or spreadsheet: the lists, the item links, the ID, the
// price text, when the rows are saved, the file name.
#include "collect/CollectionRules.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zk::collect;

namespace {
const QString kHost = QStringLiteral("auctions.sim.test:18080");
}

TEST(CollectionRules, EachModeWalksItsListUnderItsLabel) {
    const QString current = "http://a/list?select=selling", closed = "http://a/list?select=closed&hasWinner=";
    const CollectionList sold = collectionList(1, current, closed);
    EXPECT_EQ(sold.mode, CollectionMode::Sold);
    EXPECT_EQ(sold.label, QString::fromUtf8("落札された"));
    EXPECT_EQ(sold.startAddress, closed + "1");
    const CollectionList unsold = collectionList(2, current, closed);
    EXPECT_EQ(unsold.label, QString::fromUtf8("落札者無し"));
    EXPECT_EQ(unsold.startAddress, closed + "0");
    // No choice reads as the first item, as the group's default.
    for (int index : {0, -1, 3}) {
        const CollectionList list = collectionList(index, current, closed);
        EXPECT_EQ(list.mode, CollectionMode::Current);
        EXPECT_EQ(list.label, QString::fromUtf8("出品中"));
        EXPECT_EQ(list.startAddress, current);
    }
    EXPECT_EQ(pageAddress(current, 1), current);
    EXPECT_EQ(pageAddress(current, 12), current + "&apg=12");
}

TEST(CollectionRules, ItemLinksHaveTheMarkerWithinTheFirstTwentyCharacters) {
    const QString marker = itemPageMarker(kHost);
    EXPECT_EQ(marker, ".auctions.sim.test:18080/jp/auction/");
    EXPECT_TRUE(isItemLink("http://page.auctions.sim.test:18080/jp/auction/x1", marker));
    // Position 20 (1-based) is the last that counts, 21 the first that does not.
    const QString at20 = QString(19, 'h') + marker + "x1";
    EXPECT_TRUE(isItemLink(at20, marker));
    EXPECT_FALSE(isItemLink("h" + at20, marker));
    EXPECT_TRUE(isItemLink(marker + "x1", marker)); // position 1
    // The address of an item as a redirect's parameter is not an item link.
    EXPECT_FALSE(isItemLink("http://auctions.sim.test:18080/jp/jump?u=http://page.auctions.sim.test:18080/jp/auction/x1",
                            marker));
    // Another host, another path, or the host without its leading dot.
    EXPECT_FALSE(isItemLink("http://page.auctions.sim.test:9999/jp/auction/x1", marker));
    EXPECT_FALSE(isItemLink("http://page.auctions.sim.test:18080/jp/show/x1", marker));
    EXPECT_FALSE(isItemLink("http://auctions.sim.test:18080/jp/auction/x1", marker));
    EXPECT_FALSE(isItemLink(QString(), marker));
}

TEST(CollectionRules, TheIdIsWhatFollowsTheLastSlashAndThePriceWhatPrecedesTheYen) {
    EXPECT_EQ(auctionIdOf("http://page.auctions.sim.test:18080/jp/auction/x123456"), "x123456");
    EXPECT_EQ(auctionIdOf("http://page.auctions.sim.test:18080/jp/auction/x123456/"), "");
    EXPECT_EQ(auctionIdOf("x1"), "x1");
    EXPECT_EQ(auctionIdOf("http://h/a?b=c/d"), "d");

    EXPECT_EQ(cutYen(QString::fromUtf8("1,500 円")), "1,500");
    EXPECT_EQ(cutYen(QString::fromUtf8("1,500 円（税込） 円")), "1,500");
    // Only a space followed by 円 cuts.
    EXPECT_EQ(cutYen(QString::fromUtf8("1,500円")), QString::fromUtf8("1,500円"));
    EXPECT_EQ(cutYen(QString::fromUtf8(" 円")), "");
    EXPECT_EQ(cutYen("bidder_01"), "bidder_01");
}

TEST(CollectionRules, SavesComeAfterTenPagesThenAfterTwiceAsManyEachTime) {
    QList<int> pages;
    for (int page = -1; page <= 400; ++page)
        if (isSavePage(page, FirstSavePages)) pages << page;
    EXPECT_EQ(pages, (QList<int>{10, 30, 70, 150, 310}));
    // Any first step spaces them the same way; none without one.
    EXPECT_TRUE(isSavePage(1, 1) && isSavePage(3, 1) && isSavePage(7, 1) && !isSavePage(5, 1));
    for (int page : {0, 1, 10}) EXPECT_FALSE(isSavePage(page, 0));
}

TEST(CollectionRules, TheWorkbookIsNamedByDateAndLabelInTheDocumentsFolder) {
    EXPECT_EQ(collectionFileName("/home/u/Documents", QDate(2011, 3, 5), QString::fromUtf8("出品中")),
              QString::fromUtf8("/home/u/Documents/20110305出品中"));

    zk::test::TempFolder dir;
    {
        zk::test::ScopedEnv documents("ZERKON_DOCUMENTS_DIR", dir.path() + "/docs");
        QString folder = "unchanged";
        ASSERT_TRUE(zk::paths::GetSpecialFolder(zk::paths::PersonalFolder, folder));
        EXPECT_EQ(folder, QDir(dir.path() + "/docs").absolutePath()); // made, without trailing separator
        EXPECT_TRUE(QDir(folder).exists());
    }
    {
        // A documents folder that cannot be made leaves the fallback the caller put in.
        dir.write("file", "x");
        zk::test::ScopedEnv documents("ZERKON_DOCUMENTS_DIR", dir.path() + "/file/docs");
        QString folder = fallbackFolder();
        const QString before = folder;
        EXPECT_FALSE(zk::paths::GetSpecialFolder(zk::paths::PersonalFolder, folder));
        EXPECT_EQ(folder, before);
        EXPECT_FALSE(folder.isEmpty());
    }
    QString folder = "unchanged";
    EXPECT_FALSE(zk::paths::GetSpecialFolder(99, folder));
    EXPECT_EQ(folder, "unchanged");
}
