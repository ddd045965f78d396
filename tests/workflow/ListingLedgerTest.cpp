// The listing records' journal, which outlives a killed run.
#include "workflow/ListingLedger.h"
#include "platform/Paths.h"
#include "support/OtherUser.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/stat.h>

using zk::workflow::ListingLedger;
using Stage = zk::workflow::ListingRecord::Stage;

TEST(ListingLedger, TheJournalKeepsTheOpenListingAndTheUnsavedRowsOwnerOnly) {
    zk::test::TempFolder dir;
    const QString path = dir.file("ListingJournal.json");
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 59));
    {
        ListingLedger ledger;
        ledger.setJournal(path);
        ledger.begin(2, "/books/a.xlsx", now).title = QString::fromUtf8("練習カメラ");
        ledger.listed("k100", "http://page.x/jp/auction/k100", "2026/12/07 12:59:00");
        auto& open = ledger.begin(3, "/books/a.xlsx", now);
        open.pictures = QStringList{"/p/c.jpg", "/p/d.jpg"};
        open.title = QString::fromUtf8("二つ目");
        ledger.advance(Stage::AgreeSent);
        EXPECT_TRUE(ledger.journalError().isEmpty());
    }
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(path) & others, QFileDevice::Permissions());
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));

    ListingLedger again;
    again.setJournal(path);
    ASSERT_TRUE(again.load());
    ASSERT_NE(again.current(), nullptr);
    EXPECT_EQ(again.current()->row, 3);
    EXPECT_EQ(again.current()->stage, Stage::AgreeSent);
    EXPECT_EQ(again.current()->pictures, (QStringList{"/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(again.current()->startedAt, now);
    ASSERT_EQ(again.unsaved().size(), 1);
    EXPECT_EQ(again.unsaved()[0].row, 2);
    EXPECT_EQ(again.unsaved()[0].auctionId, "k100");
    EXPECT_EQ(again.knownIds(), QStringList{"k100"});

    // Saved for its workbook, the row leaves the journal; a record of another workbook stays.
    again.savedFor("/books/other.xlsx");
    EXPECT_EQ(again.unsaved().size(), 1);
    again.savedFor("/books/a.xlsx");
    EXPECT_TRUE(again.unsaved().isEmpty());
    again.drop();
    ListingLedger third;
    third.setJournal(path);
    ASSERT_TRUE(third.load());
    EXPECT_EQ(third.current(), nullptr);
    EXPECT_TRUE(third.unsaved().isEmpty());
}

TEST(ListingLedger, AJournalThatCannotBeReadOrWrittenSaysWhy) {
    zk::test::TempFolder dir;
    dir.writeCp932("ListingJournal.json", "{not json");
    ListingLedger ledger;
    ledger.setJournal(dir.file("ListingJournal.json"));
    QString error;
    EXPECT_FALSE(ledger.load(&error));
    EXPECT_FALSE(error.isEmpty());

    ListingLedger nowhere;
    // A folder that is a file: the journal cannot be made there.
    nowhere.setJournal(dir.file("ListingJournal.json") + "/ListingJournal.json");
    nowhere.begin(2, {}, QDateTime::currentDateTime());
    EXPECT_FALSE(nowhere.journalError().isEmpty());
}

namespace {

using Kind = zk::workflow::JournalFault::Kind;
constexpr mode_t Private = 0600;

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}
bool isLink(const QString& path) { return S_ISLNK(modeOf(path)); }
bool isThere(const QString& path) { return modeOf(path) != 0; }

// A journal as a planted one would be: an open record in doubt and an ID another host links to.
const QByteArray Planted =
    R"({"current":{"stage":"agreesent","row":2,"title":"x"},"unsaved":[{"stage":"listed","row":3,)"
    R"("workbook":"/books/a.xlsx","auctionId":"planted1","link":"http://elsewhere.example/planted1"}],"known":["planted1"]})";

QString writeMode(const QString& path, const QByteArray& bytes, mode_t mode) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    f.close();
    ::chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

} // namespace

// Only a file this user alone may write is read; anything else is renamed beside itself with the
// time, untouched, and the ledger starts empty and writes a fresh journal of its own.
TEST(ListingLedger, OnlyAJournalOfTheSellersOwnIsReadAnythingElseIsSetAsideUnread) {
    QString why;
    const bool otherUser = zk::test::otherUserAvailable(&why);
    struct Case {
        const char* what;
        Kind fault;                                          // None: read
        std::function<void(const QString& journal, const QString& outside)> make;
        bool needsOtherUser = false;
    };
    const QList<Case> cases = {
        {"none at all", Kind::None, [](const QString&, const QString&) {}},
        {"its own, 0600", Kind::None, [](const QString& j, const QString&) { writeMode(j, Planted, 0600); }},
        {"its own, read-only 0400", Kind::None, [](const QString& j, const QString&) { writeMode(j, Planted, 0400); }},
        {"its own, readable by others 0644", Kind::None, [](const QString& j, const QString&) { writeMode(j, Planted, 0644); }},
        {"exactly the bound", Kind::None,
         [](const QString& j, const QString&) {
             QByteArray padded = Planted;
             padded.append(ListingLedger::MaxJournalBytes - padded.size(), ' ');
             writeMode(j, padded, 0600);
         }},
        {"a link to a journal of its own", Kind::Link,
         [](const QString& j, const QString& outside) { QFile::link(writeMode(outside, Planted, 0644), j); }},
        {"a link to nowhere", Kind::Link, [](const QString& j, const QString& outside) { QFile::link(outside, j); }},
        {"another user's", Kind::OtherOwner, [](const QString& j, const QString&) {
             writeMode(j, Planted, 0600);
             zk::test::giveToOtherUser(j);
         }, true},
        {"group-writable", Kind::WritableByOthers, [](const QString& j, const QString&) { writeMode(j, Planted, 0620); }},
        {"world-writable", Kind::WritableByOthers, [](const QString& j, const QString&) { writeMode(j, Planted, 0666); }},
        {"one byte over the bound", Kind::TooLarge,
         [](const QString& j, const QString&) {
             QFile f(writeMode(j, "{}", 0600));
             f.resize(ListingLedger::MaxJournalBytes + 1);
         }},
        {"312 MB", Kind::TooLarge,
         [](const QString& j, const QString&) {
             QFile f(writeMode(j, "{}", 0600));
             f.resize(qint64(312) * 1000 * 1000);
         }},
        {"a folder", Kind::NotAFile, [](const QString& j, const QString&) { QDir().mkpath(j); }},
        {"a pipe with no writer", Kind::NotAFile,
         [](const QString& j, const QString&) { ::mkfifo(QFile::encodeName(j).constData(), 0600); }},
        {"not JSON", Kind::Unparsable, [](const QString& j, const QString&) { writeMode(j, "{not json", 0600); }},
        {"empty", Kind::Unparsable, [](const QString& j, const QString&) { writeMode(j, "", 0600); }},
        {"an array", Kind::Unparsable, [](const QString& j, const QString&) { writeMode(j, "[]", 0600); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsOtherUser && !otherUser) {
            std::cout << "[  SKIPPED ] " << c.what << ": " << why.toStdString() << "\n";
            continue;
        }
        zk::test::TempFolder dir;
        const QString journal = dir.file("data/ListingJournal.json");
        const QString outside = dir.file("elsewhere.json");
        c.make(journal, outside);
        const mode_t before = modeOf(journal);
        const QByteArray outsideBefore = dir.read("elsewhere.json");
        const mode_t outsideMode = modeOf(outside);

        ListingLedger ledger;
        ledger.setJournal(journal);
        QString error;
        const bool read = ledger.load(&error);
        const auto& fault = ledger.loadFault();
        EXPECT_EQ(read, c.fault == Kind::None) << error.toStdString();
        EXPECT_EQ(fault.kind, c.fault);
        if (c.fault == Kind::None) {
            EXPECT_TRUE(fault.setAsideAs.isEmpty());
            if (before != 0) {
                EXPECT_EQ(ledger.knownIds(), QStringList{"planted1"});
            }
        } else {
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(fault.path, journal);
            // Beside itself, with the time, the same kind of thing it was.
            EXPECT_TRUE(QRegularExpression(R"(^.*/data/ListingJournal\.json\.\d{8}-\d{6}$)")
                            .match(fault.setAsideAs).hasMatch()) << fault.setAsideAs.toStdString();
            EXPECT_FALSE(isThere(journal));
            EXPECT_EQ(modeOf(fault.setAsideAs), before);
            // Nothing of it was taken: no record, no ID, no link.
            EXPECT_EQ(ledger.current(), nullptr);
            EXPECT_TRUE(ledger.unsaved().isEmpty());
            EXPECT_TRUE(ledger.knownIds().isEmpty());
        }
        // A link's target is neither read nor changed, nor made private.
        EXPECT_EQ(dir.read("elsewhere.json"), outsideBefore);
        EXPECT_EQ(modeOf(outside), outsideMode);

        // The next listing writes a fresh journal of the seller's own in its place.
        ledger.begin(5, "/books/b.xlsx", QDateTime::currentDateTime());
        EXPECT_TRUE(ledger.journalError().isEmpty()) << ledger.journalError().toStdString();
        EXPECT_TRUE(S_ISREG(modeOf(journal)));
        EXPECT_EQ(modeOf(journal) & 07777, Private);
        EXPECT_EQ(dir.read("elsewhere.json"), outsideBefore);
        if (!fault.setAsideAs.isEmpty() && S_ISREG(before)) {
            EXPECT_EQ(modeOf(fault.setAsideAs) & 07777, before & 07777) << "the kept one was written over";
        }
    }
}

// A link put in the journal's place while Zerkon runs is replaced by the next write, its target
// left as it was; two journals set aside within one second keep both.
TEST(ListingLedger, AWriteReplacesALinkAndASetAsideNeverOverwritesAnEarlierOne) {
    zk::test::TempFolder dir;
    const QString journal = dir.file("ListingJournal.json");
    const QString target = writeMode(dir.file("target.txt"), "the seller's other file", 0644);
    ListingLedger ledger;
    ledger.setJournal(journal);
    ASSERT_TRUE(ledger.load());
    ASSERT_TRUE(QFile::link(target, journal));
    ledger.begin(2, "/books/a.xlsx", QDateTime::currentDateTime());
    EXPECT_TRUE(ledger.journalError().isEmpty()) << ledger.journalError().toStdString();
    EXPECT_TRUE(S_ISREG(modeOf(journal)));
    EXPECT_EQ(modeOf(journal) & 07777, Private);
    EXPECT_EQ(dir.read("target.txt"), "the seller's other file");
    EXPECT_EQ(modeOf(target) & 07777, mode_t(0644));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "a temporary file was left";

    QStringList asides;
    for (int i = 0; i < 3; ++i) {
        writeMode(journal, "{broken", 0600);
        ListingLedger again;
        again.setJournal(journal);
        EXPECT_FALSE(again.load());
        asides << again.loadFault().setAsideAs;
    }
    asides.removeDuplicates();
    ASSERT_EQ(asides.size(), 3);
    for (const QString& aside : asides) EXPECT_EQ(QFile(aside).size(), 7) << aside.toStdString();
}

// As a user who owns the journal but cannot read it, and as one who cannot rename it: the file
// is kept, never written over, and the ledger says why.
TEST(ListingLedger, AJournalThatCannotBeReadIsKeptAndOneThatCannotBeSetAsideIsNeverWritten) {
    QString why;
    if (!zk::test::otherUserAvailable(&why)) GTEST_SKIP() << why.toStdString();
    zk::test::TempFolder dir;
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    const QString own = dir.file("own/ListingJournal.json");
    writeMode(own, Planted, 0000);
    ASSERT_TRUE(zk::test::giveToOtherUser(QFileInfo(own).path()) && zk::test::giveToOtherUser(own));
    ::chmod(QFile::encodeName(QFileInfo(own).path()).constData(), 0700);
    // The folder is not the other user's: nothing in it can be renamed.
    const QString stuck = dir.file("stuck/ListingJournal.json");
    writeMode(stuck, "{broken", 0600);
    ASSERT_TRUE(zk::test::giveToOtherUser(stuck));

    const int unreadable = zk::test::runAsOtherUser([&] {
        ListingLedger ledger;
        ledger.setJournal(own);
        if (ledger.load()) return 1;
        const auto& fault = ledger.loadFault();
        if (fault.kind != Kind::Unreadable || fault.detail.isEmpty()) return 2;
        if (fault.setAsideAs.isEmpty() || isThere(own) || !isThere(fault.setAsideAs)) return 3;
        return 0;
    });
    EXPECT_EQ(unreadable, 0);
    // Kept whole under its new name.
    const QStringList kept = QDir(QFileInfo(own).path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept[0].startsWith("ListingJournal.json.")) << kept[0].toStdString();
    EXPECT_EQ(QFileInfo(QFileInfo(own).path() + "/" + kept[0]).size(), Planted.size());

    const int notSetAside = zk::test::runAsOtherUser([&] {
        ListingLedger ledger;
        ledger.setJournal(stuck);
        if (ledger.load()) return 1;
        const auto& fault = ledger.loadFault();
        if (fault.kind != Kind::Unparsable || !fault.setAsideAs.isEmpty() || fault.setAsideError.isEmpty()) return 2;
        ledger.begin(4, "/books/a.xlsx", QDateTime::currentDateTime());
        if (ledger.journalError().isEmpty()) return 3;
        return 0;
    });
    EXPECT_EQ(notSetAside, 0);
    EXPECT_EQ(dir.read("stuck/ListingJournal.json"), "{broken");
}

// The data folder: the seller's own is made private quietly; another user's is refused.
TEST(ListingLedger, TheDataFolderIsTheSellersAloneOrRefused) {
    QString why;
    const bool otherUser = zk::test::otherUserAvailable(&why);
    using FolderKind = zk::paths::DataFolderFault::Kind;
    struct Case {
        const char* what;
        int mode;
        bool other;
        FolderKind fault;
        int after; // the folder's mode afterwards
    };
    const QList<Case> cases = {
        {"own, 0700", 0700, false, FolderKind::None, 0700},
        {"own, 0755", 0755, false, FolderKind::None, 0700},
        {"own, group-writable 0770", 0770, false, FolderKind::None, 0700},
        {"own, world-writable 0777", 0777, false, FolderKind::None, 0700},
        {"own, sticky 01777", 01777, false, FolderKind::None, 0700},
        {"another user's, 0777", 0777, true, FolderKind::OtherOwner, 0777},
        {"another user's, 0700", 0700, true, FolderKind::OtherOwner, 0700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.other && !otherUser) {
            std::cout << "[  SKIPPED ] " << c.what << ": " << why.toStdString() << "\n";
            continue;
        }
        zk::test::TempFolder dir;
        const QString data = dir.path() + "/data";
        ASSERT_TRUE(QDir().mkpath(data));
        if (c.other) {
            ASSERT_TRUE(zk::test::giveToOtherUser(data));
        }
        ::chmod(QFile::encodeName(data).constData(), mode_t(c.mode));
        const auto fault = zk::paths::claimDataFolder(data + "/");
        EXPECT_EQ(fault.kind, c.fault);
        if (c.other) {
            EXPECT_TRUE(fault.detail.contains(QString::number(zk::test::otherUid()))) << fault.detail.toStdString();
        }
        EXPECT_EQ(modeOf(data) & 07777, mode_t(c.after));
    }

    zk::test::TempFolder dir;
    const QString own = dir.path() + "/own";
    QDir().mkpath(own);
    ::chmod(QFile::encodeName(own).constData(), 0755);
    // A link to the seller's own folder is followed: the folder is made private, the link kept.
    ASSERT_TRUE(QFile::link(own, dir.path() + "/link"));
    EXPECT_EQ(zk::paths::claimDataFolder(dir.path() + "/link/").kind, FolderKind::None);
    EXPECT_EQ(modeOf(own) & 07777, mode_t(0700));
    EXPECT_TRUE(isLink(dir.path() + "/link"));
    writeMode(dir.path() + "/file", "x", 0600);
    EXPECT_EQ(zk::paths::claimDataFolder(dir.path() + "/file/").kind, FolderKind::NotAFolder);
    EXPECT_EQ(zk::paths::claimDataFolder(dir.path() + "/missing/").kind, FolderKind::Missing);
    EXPECT_EQ(zk::paths::claimDataFolder({}).kind, FolderKind::Missing);
}

// A relist in doubt survives a killed run with what it relists and at which prices, and the
// hook hears of it once the site is found to hold it, wherever that happens; a listing too.
TEST(ListingLedger, ARelistInDoubtKeepsItsOldAuctionAndPricesAndItsListingIsHeardOnce) {
    zk::test::TempFolder dir;
    const QString path = dir.file("ListingJournal.json");
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 59));
    {
        ListingLedger ledger;
        ledger.setJournal(path);
        auto& r = ledger.begin(4, "/books/a.xlsx", now);
        r.relistOf = "k100";
        r.oldStartPrice = "1000";
        r.oldBuyPrice = "";
        r.startPrice = "900";
        ledger.advance(Stage::AgreeSent);
    }
    ListingLedger again;
    again.setJournal(path);
    ASSERT_TRUE(again.load());
    QStringList heard;
    again.setListedHook([&](const zk::workflow::ListingRecord& r) { heard << r.relistOf + ">" + r.auctionId + "@" + r.startPrice; });
    ASSERT_NE(again.current(), nullptr);
    EXPECT_TRUE(again.current()->inDoubt());
    EXPECT_EQ(again.current()->oldStartPrice, "1000");
    again.listed("k200", "http://page.x/jp/auction/k200", "2026/12/07 13:00:00");
    again.begin(0, {}, now);
    again.listed("k201", "http://page.x/jp/auction/k201", "2026/12/07 13:01:00");
    EXPECT_EQ(heard, QStringList({"k100>k200@900", ">k201@"}));
    ASSERT_EQ(again.unsaved().size(), 1) << "the relist's row waits to be written";
    EXPECT_EQ(again.unsaved()[0].relistOf, "k100");
}

// A listing in doubt is taken only for an item that appeared on the selling list after its
// press; without the list read before the press no item is taken by its title alone.
TEST(ListingLedger, ADoubtIsTakenOnlyForAnItemThatWasNotOnTheListBeforeItsPress) {
    using Kind = zk::workflow::DoubtCandidates::Kind;
    const QDateTime before(QDate(2026, 12, 7), QTime(12, 0));
    const struct {
        const char* name;
        QStringList beforeIds;
        bool listRead;
        bool relist;
        QStringList matches; // the title's items on the list now, others' rows left out
        Kind kind;
        QStringList ids;
    } cases[] = {
        {"the one new item", {"k1", "k2"}, true, false, {"k1", "k3"}, Kind::Take, {"k3"}},
        {"only items listed before the press", {"k1", "k2"}, true, false, {"k2", "k1"}, Kind::None, {}},
        {"nothing of the title", {"k1"}, true, false, {}, Kind::None, {}},
        {"two new items", {"k1"}, true, false, {"k4", "k1", "k3"}, Kind::Choose, {"k4", "k3"}},
        {"no list read: one match is not taken by its title", {}, false, false, {"k9"}, Kind::Choose, {"k9"}},
        {"a relist without a list keeps its one match", {}, false, true, {"k9"}, Kind::Take, {"k9"}},
        {"a relist with a list passes over what was there", {"k9"}, true, true, {"k9", "k10"}, Kind::Take, {"k10"}},
        {"an item twice on the list counts once", {}, true, false, {"k5", "k5"}, Kind::Take, {"k5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        zk::workflow::ListingRecord record;
        record.before.ids = c.beforeIds;
        if (c.listRead) record.before.at = before;
        if (c.relist) record.relistOf = "k0";
        const auto judged = zk::workflow::judgeCandidates(record, c.matches);
        EXPECT_EQ(judged.kind, c.kind);
        EXPECT_EQ(judged.ids, c.ids);
    }
}

// A listed ID goes into the row that still holds its item: its own row, or the one row it moved
// to; never a row of another title, and never beside the same ID in another row.
TEST(ListingLedger, AListedIdGoesOnlyIntoTheRowThatStillHoldsItsItem) {
    using Kind = zk::workflow::RowPlace::Kind;
    using zk::workflow::SheetRow;
    const QString a = QString::fromUtf8("綿100%2枚組 タオル"), b = QString::fromUtf8("置き時計"), c = QString::fromUtf8("花瓶");
    const struct {
        const char* name;
        int row;
        QString title, relistOf;
        QList<SheetRow> sheet;
        Kind kind;
        int place, other;
    } cases[] = {
        {"its own row", 3, a, {}, {{2, b, {}}, {3, a, {}}}, Kind::Own, 3, 0},
        {"its own row, spaces aside and its ID already there", 3, a, {}, {{3, " " + a + " ", "k7"}}, Kind::Own, 3, 0},
        {"sorted: follows its title", 3, a, {}, {{2, c, {}}, {3, b, {}}, {4, a, {}}}, Kind::Moved, 4, 0},
        {"a row of its title that holds another ID is not it", 3, a, {}, {{2, a, "k1"}, {3, b, {}}, {4, a, {}}}, Kind::Moved, 4, 0},
        {"its title nowhere", 3, a, {}, {{2, c, {}}, {3, b, {}}}, Kind::NotFound, 3, 0},
        {"its title in two rows, neither its own", 3, a, {}, {{2, a, {}}, {3, b, {}}, {4, a, {}}}, Kind::Ambiguous, 3, 0},
        {"another row holds its ID", 4, b, {}, {{2, a, "k7"}, {4, b, {}}}, Kind::HeldElsewhere, 4, 2},
        {"moved, and another row holds its ID", 4, b, {}, {{2, a, "k7"}, {4, c, {}}, {5, b, {}}}, Kind::HeldElsewhere, 5, 2},
        {"a relist: the row that holds the ID it relists", 3, a, "k5", {{3, b, {}}, {6, c, "k5"}}, Kind::Moved, 6, 0},
        {"a relist whose old ID is in no row", 3, a, "k5", {{3, a, {}}}, Kind::NotFound, 3, 0},
        {"no title known: the recorded row", 3, {}, {}, {{3, b, {}}}, Kind::Own, 3, 0},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        zk::workflow::ListingRecord record;
        record.row = t.row;
        record.rowTitle = t.title;
        record.title = t.title;
        record.relistOf = t.relistOf;
        record.auctionId = "k7";
        const auto place = zk::workflow::placeListed(record, t.sheet);
        EXPECT_EQ(place.kind, t.kind);
        EXPECT_EQ(place.row, t.place);
        EXPECT_EQ(place.otherRow, t.other);
        EXPECT_EQ(place.writable(), t.kind == Kind::Own || t.kind == Kind::Moved);
    }
}

// What the journal keeps of a listing for its doubt and its row, and the records that wait for
// their rows staying when the rest of their workbook is saved.
TEST(ListingLedger, TheJournalKeepsTheListBeforeThePressAndTheRecordsThatStillWait) {
    zk::test::TempFolder dir;
    const QString path = dir.file("ListingJournal.json");
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 59));
    {
        ListingLedger ledger;
        ledger.setJournal(path);
        for (const char* id : {"k1", "k2"}) {
            ledger.begin(2, "/books/a.xlsx", now);
            ledger.listed(id, {}, {});
        }
        auto& open = ledger.begin(4, "/books/a.xlsx", now);
        open.rowTitle = QString::fromUtf8(" 時計 ");
        open.before = {{"k0", "k1"}, now};
        ledger.advance(Stage::AgreeSent);
    }
    ListingLedger again;
    again.setJournal(path);
    ASSERT_TRUE(again.load());
    ASSERT_NE(again.current(), nullptr);
    EXPECT_EQ(again.current()->rowTitle, QString::fromUtf8(" 時計 "));
    EXPECT_EQ(again.current()->before.ids, (QStringList{"k0", "k1"}));
    EXPECT_EQ(again.current()->before.at, now);
    ASSERT_EQ(again.unsaved().size(), 2);
    again.savedFor("/books/a.xlsx", {"k2"});
    ASSERT_EQ(again.unsaved().size(), 1);
    EXPECT_EQ(again.unsaved()[0].auctionId, "k2");
    // An older journal's record holds no list: it was not read.
    again.drop();
    EXPECT_FALSE(again.begin(5, "/books/a.xlsx", now).before.taken());
}
