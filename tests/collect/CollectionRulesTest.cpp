// The collection's rules without browser or spreadsheet: the lists, the item links, the ID, the
// price text, when the rows are saved, the file name.
#include "collect/CollectionRules.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

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

TEST(CollectionRules, EveryColumnAModeWritesHasItsHeader) {
    const QStringList common{QString::fromUtf8("頁"), QString::fromUtf8("頁内"), QString::fromUtf8("商品ID"),
                             QString::fromUtf8("タイトル"), "URL"};
    EXPECT_EQ(headers(CollectionMode::Current), common);
    EXPECT_EQ(headers(CollectionMode::Unsold), common);
    EXPECT_EQ(headers(CollectionMode::Sold),
              (common + QStringList{QString::fromUtf8("価格"), QString::fromUtf8("落札者"), QString::fromUtf8("終了日時")}));
    // Only the sold list's cells after the title are read, one for each further header.
    EXPECT_EQ(cellsRead(CollectionMode::Sold), headers(CollectionMode::Sold).size() - common.size());
    EXPECT_EQ(cellsRead(CollectionMode::Current), 0);
}

TEST(CollectionRules, APriceIsAWholeNumberOfYenWithItsThousandsGroupedOrNot) {
    const struct {
        const char* text;
        std::optional<qint64> yen;
    } cases[] = {
        {"4,500", 4500},          {"4,500 円", 4500},     {"4,500円", 4500},   {"1500", 1500},
        {"1,234,567", 1234567},   {"0", 0},              {"４，５００", 4500}, {" 800 ", 800},
        {"", std::nullopt},       {"4,50", std::nullopt}, {"1,5000", std::nullopt}, {",500", std::nullopt},
        {"-500", std::nullopt},   {"1.5", std::nullopt}, {"価格未定", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(priceValue(QString::fromUtf8(c.text)), c.yen) << c.text;
}

TEST(CollectionRules, AnEndTimeIsADateWithItsTimeOfDayIfShown) {
    const struct {
        const char* text;
        std::optional<QDateTime> at;
    } cases[] = {
        {"2024年5月3日 9時05分", QDateTime(QDate(2024, 5, 3), QTime(9, 5))},
        {"2024年12月31日 23時59分", QDateTime(QDate(2024, 12, 31), QTime(23, 59))},
        {"２０２４年５月３日　９時０５分", QDateTime(QDate(2024, 5, 3), QTime(9, 5))},
        {"2024/05/03 09:05", QDateTime(QDate(2024, 5, 3), QTime(9, 5))},
        {"2024年5月3日", QDateTime(QDate(2024, 5, 3), QTime(0, 0))},
        {"2024年2月30日 9時00分", std::nullopt},
        {"2024年5月3日 25時00分", std::nullopt},
        {"2024年5月3日 AM　９時～AM１０時", std::nullopt}, // a closing slot is no moment
        {"5月3日 9時05分", std::nullopt},                 // no year, no day to count it on
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(endTimeOf(QString::fromUtf8(c.text)), c.at) << c.text;
}

TEST(CollectionRules, ASoldRowKeepsWhatTheListShowsAsNumberDateOrText) {
    const QDateTime ended(QDate(2024, 5, 3), QTime(9, 5));
    const struct {
        const char* name;
        QStringList texts;
        QVariantList cells;
    } cases[] = {
        {"price, buyer, end", {"4,500 円", "bidder_01", "2024年5月3日 9時05分"}, {qint64(4500), "bidder_01", ended}},
        {"no cell after the title: nothing, the row stays", {}, {}},
        {"a price that is no number stays as shown", {"価格未定 円", "b"}, {"価格未定", "b"}},
        {"an end that is no date stays as shown", {"1,500 円", "b", "終了"}, {qint64(1500), "b", "終了"}},
        {"the price alone", {"1,500 円"}, {qint64(1500)}},
    };
    for (const auto& c : cases) EXPECT_EQ(soldCells(c.texts), c.cells) << c.name;
}

TEST(CollectionRules, TheSummaryCountsEveryItemAndAveragesThoseWithAPrice) {
    const auto at = [](int day, int hour) { return std::optional<QDateTime>(QDateTime(QDate(2024, 5, day), QTime(hour, 0))); };
    const struct {
        const char* name;
        QList<Sale> sales;
        SalesLine all;
        QList<DaySales> days;
    } cases[] = {
        {"nothing sold", {}, {0, 0, 0}, {}},
        {"one day, two items", {{4500, at(3, 9)}, {1500, at(3, 23)}}, {2, 2, 6000},
         {{QDate(2024, 5, 3), {2, 2, 6000}}}},
        {"days in order whatever the list's", {{1000, at(5, 1)}, {2000, at(3, 1)}, {3000, at(5, 2)}}, {3, 3, 6000},
         {{QDate(2024, 5, 3), {1, 1, 2000}}, {QDate(2024, 5, 5), {2, 2, 4000}}}},
        {"an item without a price counts but is not averaged", {{1000, at(3, 1)}, {std::nullopt, at(3, 2)}},
         {2, 1, 1000}, {{QDate(2024, 5, 3), {2, 1, 1000}}}},
        {"items without an end time come last", {{std::nullopt, std::nullopt}, {500, at(4, 0)}, {700, std::nullopt}},
         {3, 2, 1200}, {{QDate(2024, 5, 4), {1, 1, 500}}, {QDate(), {2, 1, 700}}}},
    };
    for (const auto& c : cases) {
        const SalesSummary summary = summarize(c.sales);
        EXPECT_EQ(summary.all, c.all) << c.name;
        EXPECT_EQ(summary.days, c.days) << c.name;
    }
    EXPECT_DOUBLE_EQ((SalesLine{3, 2, 1001}).average(), 500.5);
    EXPECT_DOUBLE_EQ((SalesLine{1, 0, 0}).average(), 0.0);
}

TEST(CollectionRules, ANamedDocumentsFolderThatCannotBeMadeOrWrittenIsNamedNeverReplaced) {
    zk::test::TempFolder dir;
    dir.write("file", "x");
    QDir().mkpath(dir.path() + "/locked");
    QFile::setPermissions(dir.path() + "/locked", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool root = ::geteuid() == 0; // a folder's permissions do not stop root
    const struct {
        const char* name;
        QString folder;
        bool usable;
    } cases[] = {
        {"made when missing", dir.path() + "/new/docs", true},
        {"under a file: cannot be made", dir.path() + "/file/docs", false},
        {"read-only: cannot be written", dir.path() + "/locked", root},
        {"under a read-only folder: cannot be made", dir.path() + "/locked/docs", root},
    };
    for (const auto& c : cases) {
        zk::test::ScopedEnv documents("ZERKON_DOCUMENTS_DIR", c.folder);
        QString unusable;
        const QString folder = zk::paths::writableDocumentsFolder(unusable);
        EXPECT_EQ(folder, c.usable ? QDir(c.folder).absolutePath() + "/" : QString()) << c.name;
        EXPECT_EQ(unusable, c.usable ? QString() : QDir(c.folder).absolutePath()) << c.name;
        // The probe leaves nothing behind.
        if (c.usable) EXPECT_TRUE(QDir(c.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }
    QFile::setPermissions(dir.path() + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
