// The recent-category history file and the link section.
#include "category/CategoryHistory.h"
#include "category/CategoryLinks.h"
#include "tests/category/QtPrinters.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zk::category;
using zk::test::TempFolder;

namespace {

QByteArray entryNo(int i) { return "Top>Cat" + QByteArray::number(i) + " ^/" + QByteArray::number(1000 + i); }

} // namespace

TEST(CategoryHistory, TwentySixthCategoryDropsTheOldest) {
    CategoryHistory history;
    for (int i = 1; i <= 25; ++i) history.add(entryNo(i));
    ASSERT_EQ(history.size(), 25);
    EXPECT_EQ(history.at(0), entryNo(25));
    EXPECT_EQ(history.at(24), entryNo(1));

    history.add(entryNo(26));
    ASSERT_EQ(history.size(), 25);
    EXPECT_EQ(history.at(0), entryNo(26));
    EXPECT_EQ(history.at(24), entryNo(2));
    EXPECT_FALSE(history.entries().contains(entryNo(1)));
}

TEST(CategoryHistory, KnownCategoryMovesToTopWithoutDropping) {
    CategoryHistory history;
    for (int i = 1; i <= 25; ++i) history.add(entryNo(i));
    history.add(entryNo(3));
    ASSERT_EQ(history.size(), 25);
    EXPECT_EQ(history.at(0), entryNo(3));
    EXPECT_EQ(history.at(1), entryNo(25));
    EXPECT_EQ(history.at(24), entryNo(1));
    EXPECT_EQ(history.entries().count(entryNo(3)), 1);
}

TEST(CategoryHistory, LoadKeepsBlankLinesAndBytesAndSavesCrLf) {
    TempFolder folder;
    const QByteArray odd = QByteArray("A>\x82\xA0\xFF ^/7", 10);
    const QString path = folder.write("ctg_history.txt", "\r\n" + odd + "\r\n\r\n\nB ^/8\n");
    CategoryHistory history;
    ASSERT_EQ(history.load(path), CategoryHistory::LoadResult::Loaded);
    ASSERT_EQ(history.entries(), (QList<QByteArray>{"", odd, "", "", "B ^/8"}));

    history.moveToTop(4);
    ASSERT_TRUE(history.save(path));
    EXPECT_EQ(folder.read("ctg_history.txt"), "B ^/8\r\n\r\n" + odd + "\r\n\r\n\r\n");
    // A last line without its line end is still a line.
    ASSERT_EQ(history.load(folder.write("h.txt", "C ^/9\r\nD ^/10")), CategoryHistory::LoadResult::Loaded);
    EXPECT_EQ(history.entries(), (QList<QByteArray>{"C ^/9", "D ^/10"}));
}

TEST(CategoryHistory, LoadKeepsEveryLineAndOnlyAddingCutsToTwentyFive) {
    TempFolder folder;
    QByteArray data;
    for (int i = 0; i < 30; ++i) data += entryNo(i) + "\r\n";
    const QString path = folder.write("h.txt", data);
    CategoryHistory history;
    ASSERT_EQ(history.load(path), CategoryHistory::LoadResult::Loaded);
    ASSERT_EQ(history.size(), 30);
    // Choosing from the history rewrites the file with all its lines.
    history.moveToTop(29);
    ASSERT_TRUE(history.save(path));
    ASSERT_EQ(history.load(path), CategoryHistory::LoadResult::Loaded);
    ASSERT_EQ(history.size(), 30);
    EXPECT_EQ(history.at(0), entryNo(29));
    EXPECT_EQ(history.at(29), entryNo(28));
    // A known entry moves up and drops nothing; a new one leaves the 24 most recent beside it.
    history.add(entryNo(5));
    EXPECT_EQ(history.size(), 30);
    history.add(entryNo(99));
    ASSERT_EQ(history.size(), 25);
    EXPECT_EQ(history.at(0), entryNo(99));
    EXPECT_EQ(history.at(1), entryNo(5));
    EXPECT_EQ(history.at(24), entryNo(22));
}

TEST(CategoryHistory, MissingAndUnreadableFiles) {
    TempFolder folder;
    CategoryHistory history;
    history.add("old ^/1");
    EXPECT_EQ(history.load(folder.file("none.txt")), CategoryHistory::LoadResult::Missing);
    EXPECT_EQ(history.size(), 0);

    QDir().mkpath(folder.file("dir.txt"));
    history.add("old ^/1");
    EXPECT_EQ(history.load(folder.file("dir.txt")), CategoryHistory::LoadResult::ReadError);
    EXPECT_EQ(history.size(), 0);
    EXPECT_FALSE(history.save(folder.file("dir.txt")));
}

TEST(CategoryHistory, CodeIsTakenFromTheEntrysOwnNode) {
    EXPECT_EQ(CategoryHistory::codeOf("A>C>D ^/200"), "200");
    // A coded parent in front of the chosen node must not lend its code.
    EXPECT_EQ(CategoryHistory::codeOf("A ^/10>D ^/200"), "200");
    EXPECT_EQ(CategoryHistory::codeOf("A>B"), "");
    EXPECT_TRUE(CategoryHistory::hasCode("A>B ^/"));
    EXPECT_FALSE(CategoryHistory::hasCode("A>B ^"));
}

TEST(CategoryLinks, ReadsDecimalEntriesAndLeavesOutOthers) {
    CategoryLinks links;
    links.setEntries({"12=3", " 7 = 40 ", "x=1", "5=", "6=abc", "8=-2", "12=99", "9=1e2"});
    EXPECT_TRUE(links.exists());
    EXPECT_EQ(links.size(), 2);
    EXPECT_EQ(links.targetOf(12), 3);
    EXPECT_EQ(links.targetOf(7), 40);
    EXPECT_EQ(links.targetOf(5), -1);
    EXPECT_EQ(links.targetOf(8), -1);
    EXPECT_EQ(links.targetOf(9), -1);
}

TEST(CategoryLinks, LoadsSectionLinkOnlyWhenPresent) {
    TempFolder folder;
    CategoryLinks links;
    links.load(folder.file("CategoryLink.ini"));
    EXPECT_FALSE(links.exists());

    links.load(folder.write("other.ini", "[OTHER]\r\n1=2\r\n"));
    EXPECT_FALSE(links.exists());
    EXPECT_EQ(links.targetOf(1), -1);

    links.load(folder.write("CategoryLink.ini", "[link]\r\n4=1\r\n[OTHER]\r\n5=1\r\n"));
    EXPECT_TRUE(links.exists());
    EXPECT_EQ(links.targetOf(4), 1);
    EXPECT_EQ(links.targetOf(5), -1);
}
