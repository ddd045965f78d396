// Splitting category.txt into lines and building the tree from them.
#include "category/CategoryLine.h"
#include "category/CategoryTree.h"
#include "platform/Cp932.h"
#include "tests/category/QtPrinters.h"

#include <QList>
#include <gtest/gtest.h>

using namespace zk::category;

namespace {

QByteArray sjis(const QString& text) { return zk::cp932::fromUnicode(text); }

QList<QByteArray> allLines(const QByteArray& data) {
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype pos = 0; (pos = readLine(data, pos, &line)) >= 0;) lines << line;
    return lines;
}

} // namespace

TEST(CategoryLine, SplitsOnLfAndCrLfWithoutTrailingEmptyLine) {
    EXPECT_EQ(allLines("A\r\n\tB\n\n C"), (QList<QByteArray>{"A", "\tB", "", " C"}));
    EXPECT_EQ(allLines("A\n"), QList<QByteArray>{"A"});
    EXPECT_TRUE(allLines("").isEmpty());
    EXPECT_EQ(allLines("\n"), QList<QByteArray>{""});
}

TEST(CategoryLine, LongLineStaysOneLineCutBeforeASplitCharacter) {
    // 253 ASCII bytes and then a double-byte character: the character would end at byte 255,
    // past the limit, so it goes entirely; the rest of the line does not become a line.
    const QByteArray head(253, 'x');
    const QByteArray longLine = head + sjis("カテゴリ") + QByteArray(300, 'y');
    const QList<QByteArray> lines = allLines(longLine + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], head);
    EXPECT_EQ(lines[1], "next");

    const QByteArray exact(kMaxLineBytes, 'z');
    EXPECT_EQ(allLines(exact + "\r\n" + "b"), (QList<QByteArray>{exact, "b"}));
}

TEST(CategoryLine, SkipLinesFindsTheStartOfALine) {
    const QByteArray data = "a\r\nbb\ncc";
    EXPECT_EQ(skipLines(data, 0, 0), 0);
    EXPECT_EQ(skipLines(data, 0, 1), 3);
    EXPECT_EQ(skipLines(data, 0, 2), 6);
    EXPECT_EQ(skipLines(data, 0, 3), -1);
}

TEST(CategoryTree, FourLineExampleAndItsHistoryEntry) {
    CategoryTree tree;
    ASSERT_TRUE(tree.parse("A\r\n\tB ^/100\r\n\tC\r\n\t\tD ^/200\r\n"));
    ASSERT_EQ(tree.size(), 4);
    EXPECT_EQ(tree.node(0).parent, -1);
    EXPECT_EQ(tree.node(1).parent, 0);
    EXPECT_EQ(tree.node(2).parent, 0);
    EXPECT_EQ(tree.node(3).parent, 2);
    EXPECT_EQ(tree.node(1).nextSibling, 2);
    EXPECT_EQ(tree.node(3).text, "D ^/200");
    EXPECT_EQ(tree.historyEntry(3), "A>C>D ^/200");
    EXPECT_EQ(CategoryTree::codeOf(tree.node(3).text), "200");
    EXPECT_EQ(CategoryTree::codeOf("C"), "");
    EXPECT_TRUE(tree.hasChildren(2));
    EXPECT_FALSE(tree.hasChildren(1));
    EXPECT_FALSE(tree.hasChildren(3));
}

TEST(CategoryTree, WalksUpSeveralLevelsAndCountsSpacesAsLevels) {
    CategoryTree tree;
    ASSERT_TRUE(tree.parse("A\n B\n \tC\n\t  D\nE\n\tF\n"));
    EXPECT_EQ(tree.node(3).depth, 3);
    EXPECT_EQ(tree.node(4).parent, -1);
    EXPECT_EQ(tree.node(0).nextSibling, 4);
    EXPECT_EQ(tree.node(5).parent, 4);
    EXPECT_EQ(tree.topOf(3), 0);
    EXPECT_EQ(tree.topOf(5), 4);
    EXPECT_EQ(tree.lastInside(0), 3);
    EXPECT_EQ(tree.lastInside(1), 3);
    EXPECT_EQ(tree.lastInside(4), 5);
    EXPECT_EQ(tree.lastInside(3), 3);
}

TEST(CategoryTree, LevelJumpStopsLoadingAndKeepsTheNodesBefore) {
    CategoryTree tree;
    EXPECT_FALSE(tree.parse("A\n\tB\n\t\t\tC\n\tD\n"));
    EXPECT_EQ(tree.size(), 2);
    EXPECT_EQ(tree.badLine(), 2);
    EXPECT_EQ(tree.lastInside(0), 1);
}

TEST(CategoryTree, FirstLineIsTopLevelHoweverIndentedAndBlankLinesAreNodes) {
    CategoryTree tree;
    ASSERT_TRUE(tree.parse("\t\tA\n\tB\n\nC\n"));
    ASSERT_EQ(tree.size(), 4);
    EXPECT_EQ(tree.node(0).text, "A");
    EXPECT_EQ(tree.node(1).parent, 0);
    EXPECT_EQ(tree.node(2).parent, -1);
    EXPECT_EQ(tree.node(2).text, "");
    EXPECT_EQ(tree.node(3).parent, -1);
}

TEST(CategoryTree, DeepNodeKeepsOnlyThreeNearestAncestorsInItsEntry) {
    CategoryTree tree;
    ASSERT_TRUE(tree.parse("L0\n\tL1\n\t\tL2\n\t\t\tL3\n\t\t\t\tL4\n\t\t\t\t\tL5 ^/555\n"));
    EXPECT_EQ(tree.node(5).depth, 5);
    EXPECT_EQ(tree.historyEntry(5), "L2>L3>L4>L5 ^/555");
    EXPECT_EQ(tree.historyEntry(2), "L0>L1>L2");
    EXPECT_EQ(tree.historyEntry(0), "L0");
}

TEST(CategoryTree, InvalidBytesAreKeptAsTheyAre) {
    // 0x81 0x20 is no CP932 character and 0xA0 no character at all; the tree must not care.
    const QByteArray bad = QByteArray("X\x81\x20Y\xA0 ^/9", 9);
    CategoryTree tree;
    ASSERT_TRUE(tree.parse("Top\n\t" + bad + "\n"));
    EXPECT_EQ(tree.node(1).text, bad);
    EXPECT_EQ(CategoryTree::codeOf(tree.node(1).text), "9");
    EXPECT_EQ(tree.historyEntry(1), "Top>" + bad);
}

TEST(CategoryTree, ReparseReplacesTheOldTree) {
    CategoryTree tree;
    EXPECT_FALSE(tree.parse("A\n\t\tB\n"));
    ASSERT_TRUE(tree.parse("X\nY\n"));
    EXPECT_EQ(tree.size(), 2);
    EXPECT_EQ(tree.badLine(), -1);
    EXPECT_EQ(tree.node(0).nextSibling, 1);
}
