// The site's state kept on disk: everything an item holds comes back whole at the next start,
// auction IDs go on, the folder is the owner's alone, and writers on many threads at once lose
// nothing.
#include "site/SiteState.h"
#include "site/SiteStore.h"
#include "site/WorkerPool.h"

#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zk::site;

namespace {

// An item with every field the store keeps set to something other than its default.
Item fullItem(SiteState& state, const std::string& title) {
    Item item;
    item.id = state.nextAuctionId();
    item.seller = "zerkon_seller";
    item.category = "2100200101";
    item.title = title;
    item.description = "一行目\n<b>二行目</b> 'quoted' \"too\"";
    item.htmlDescription = true;
    item.startPrice = 1200;
    item.buyNowPrice = 3000;
    item.salesMode = "auction";
    item.closingDate = QDate(2026, 12, 9);
    item.closingHour = 21;
    item.listedAt = QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15, 250));
    item.status = ItemStatus::Sold;
    item.finalPrice = 4500;
    item.endedAt = QDateTime(QDate(2026, 12, 9), QTime(21, 7));
    item.winner = "bidder_07";
    item.relistOf = "k100000001";
    item.relistCount = 2;
    item.priceHistory = {{1500, 0}, {1350, 3000}, {1200, 3000}};
    item.pictures = {{1, "表.jpg", "d1_1_ab.jpg", "image/jpeg", 4096}, {3, "b.png", "d1_3_cd.png", "image/png", 77}};
    item.fields = {{"item_condition", "used"}, {"bank_name1", "練習銀行"}, {"empty", ""}};
    item.listShape.redirectLink = true;
    item.listShape.emptyPrice = true;
    return item;
}

QJsonValue kept(const SiteState& state, const char* part) { return state.toJson().value(part); }

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

} // namespace

TEST(SiteStore, EveryFieldOfTheItemsAndRelistsComesBackAndIdsGoOn) {
    zk::test::TempFolder dir;
    const QString folder = dir.file("store");
    QJsonValue items, relists;
    std::string lastId;
    {
        SiteState state;
        bool seeded = true;
        ASSERT_EQ(state.openStore(folder, &seeded), "");
        EXPECT_FALSE(seeded);
        Item sold = fullItem(state, "売れた品");
        Item plain;
        plain.id = state.nextAuctionId();
        plain.title = "素の品";
        RelistRecord relist{"k100000001", sold.id, QDateTime(QDate(2026, 12, 7), QTime(11, 0)), 1350, 3000, 1200, 3000};
        ASSERT_EQ(state.keep({&sold, &plain}, {relist}), "");
        state.items = {sold, plain};
        state.relists = {relist};
        // A change keeps the item's place in the listing order and its pictures as they now are.
        Item changed = state.items[0];
        changed.relistedAs = "k100000099";
        changed.pictures.pop_back();
        ASSERT_EQ(state.keep({&changed}), "");
        state.items[0] = changed;
        items = kept(state, "items");
        relists = kept(state, "relists");
        lastId = plain.id;
    }
    SiteState again;
    bool seeded = false;
    ASSERT_EQ(again.openStore(folder, &seeded), "");
    EXPECT_TRUE(seeded);
    EXPECT_EQ(kept(again, "items"), items);
    EXPECT_EQ(kept(again, "relists"), relists);
    EXPECT_EQ(again.items.at(0).pictures.size(), 1u);
    EXPECT_EQ(again.nextAuctionId(), "k" + std::to_string(std::stoll(lastId.substr(1)) + 1));
}

// Whatever the counter says, an ID an item holds is never given again.
TEST(SiteStore, TheNextIdIsPastEveryKeptItemEvenWhenTheCounterIsBehind) {
    zk::test::TempFolder dir;
    {
        SiteStore store;
        ASSERT_EQ(store.open(dir.file("store")), "");
        Item item;
        item.id = "k100000500";
        ASSERT_EQ(store.save({&item}, {}, 100000003), "");
    }
    SiteState state;
    ASSERT_EQ(state.openStore(dir.file("store"), nullptr), "");
    EXPECT_EQ(state.nextAuctionId(), "k100000501");
}

TEST(SiteStore, ClearingKeepsTheCounterAndLeavesNoItemNoRelistNoPicture) {
    zk::test::TempFolder dir;
    std::string before;
    {
        SiteState state;
        ASSERT_EQ(state.openStore(dir.file("store"), nullptr), "");
        Item item = fullItem(state, "消える品");
        ASSERT_EQ(state.keep({&item}, {{"k1", item.id, {}, 1, 0, 1, 0}}), "");
        state.items = {item};
        dir.write("store/pictures/d1_1_ab.jpg", "\xFF\xD8\xFF");
        ASSERT_EQ(state.clear(), "");
        EXPECT_TRUE(state.items.empty());
        EXPECT_TRUE(QDir(dir.file("store/pictures")).isEmpty());
        before = item.id;
    }
    SiteState again;
    bool seeded = true;
    ASSERT_EQ(again.openStore(dir.file("store"), &seeded), "");
    // Emptied: the next start makes the sample items again, with IDs after the old ones.
    EXPECT_FALSE(seeded);
    EXPECT_TRUE(again.items.empty());
    EXPECT_TRUE(again.relists.empty());
    EXPECT_GT(std::stoll(again.nextAuctionId().substr(1)), std::stoll(before.substr(1)));
}

// The pictures of drafts that never became items (their sessions ended with the last start) go;
// a kept item's stay.
TEST(SiteStore, OpeningRemovesOnlyThePicturesNoKeptItemShows) {
    zk::test::TempFolder dir;
    {
        SiteState state;
        ASSERT_EQ(state.openStore(dir.file("store"), nullptr), "");
        Item item = fullItem(state, "写真の品");
        ASSERT_EQ(state.keep({&item}), "");
    }
    for (const char* name : {"d1_1_ab.jpg", "d1_3_cd.png", "d7_1_ff.jpg"}) dir.write(QString("store/pictures/") + name, "x");
    SiteState again;
    ASSERT_EQ(again.openStore(dir.file("store"), nullptr), "");
    EXPECT_EQ(QDir(dir.file("store/pictures")).entryList(QDir::Files), QStringList({"d1_1_ab.jpg", "d1_3_cd.png"}));
}

TEST(SiteStore, TheFolderAndEveryFileInItAreTheOwnersAlone) {
    zk::test::TempFolder dir;
    SiteStore store;
    ASSERT_EQ(store.open(dir.file("store")), "");
    Item item;
    item.id = "k100000001";
    ASSERT_EQ(store.save({&item}, {}, 100000002), "");
    EXPECT_EQ(modeOf(dir.file("store")), 0700u);
    EXPECT_EQ(modeOf(store.pictureFolder()), 0700u);
    const QStringList files = QDir(dir.file("store")).entryList(QDir::Files);
    // The write-ahead log and its index are there while the store is open.
    EXPECT_TRUE(files.contains("site.sqlite-wal")) << files.join(' ').toStdString();
    for (const QString& name : files) EXPECT_EQ(modeOf(dir.file("store/" + name)), 0600u) << name.toStdString();
}

TEST(SiteStore, AFolderThatCannotHoldItOrADamagedFileIsSaidWithItsPath) {
    zk::test::TempFolder dir;
    const struct {
        const char* name;
        const char* file;        // a file put where the store goes
        const char* bytes;
        const char* path;        // the store's folder
    } cases[] = {
        {"a file where the folder goes", "taken", "x", "taken"},
        {"a database that is not one", "broken/site.sqlite", "not a database at all, just text", "broken"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.file, QByteArray(c.bytes).repeated(200));
        SiteState state;
        const QString error = state.openStore(dir.file(c.path), nullptr);
        EXPECT_TRUE(error.contains(dir.file(c.path))) << error.toStdString();
        EXPECT_FALSE(state.hasStore());
    }
}

// The server's handlers run on a pool of threads: changes kept from many of them at once are all
// there afterwards.
TEST(SiteStore, ChangesFromManyThreadsAtOnceAreAllKept) {
    zk::test::TempFolder dir;
    constexpr int Threads = 8, Each = 25;
    std::atomic<int> failures{0};
    {
        SiteStore store;
        ASSERT_EQ(store.open(dir.file("store")), "");
        WorkerPool pool(Threads, Threads);
        std::atomic<long long> next{100000001};
        for (int t = 0; t < Threads; ++t)
            pool.enqueue([&] {
                for (int i = 0; i < Each; ++i) {
                    Item item;
                    const long long n = next++;
                    item.id = "k" + std::to_string(n);
                    item.pictures = {{1, "a.jpg", item.id + ".jpg", "image/jpeg", 10}};
                    if (!store.save({&item}, {{"k1", item.id, {}, 1, 0, 1, 0}}, n + 1).isEmpty()) ++failures;
                }
            });
        pool.shutdown();
    }
    EXPECT_EQ(failures, 0);
    SiteStore reopened;
    ASSERT_EQ(reopened.open(dir.file("store")), "");
    SiteStore::Contents contents;
    ASSERT_EQ(reopened.load(contents), "");
    EXPECT_EQ(contents.items.size(), size_t(Threads * Each));
    EXPECT_EQ(contents.relists.size(), size_t(Threads * Each));
    for (const Item& item : contents.items) EXPECT_EQ(item.pictures.size(), 1u) << item.id;
}
