// The byte-exact search over category.txt's CP932 lines.
#include "category/CategoryLine.h"
#include "category/CategorySearch.h"
#include "platform/Cp932.h"
#include "tests/category/QtPrinters.h"

#include <gtest/gtest.h>

using namespace zk::category;

namespace {

QByteArray sjis(const QString& text) { return zk::cp932::fromUnicode(text); }

} // namespace

TEST(CategorySearch, MatchesBytesWithCaseIndentationAndCodeTail) {
    const QByteArray line = sjis("\t\tパソコン ^/2084");
    EXPECT_EQ(findInLine(line, sjis("パソコン")), 2);
    EXPECT_EQ(findInLine(line, "\t\t"), 0);
    EXPECT_EQ(findInLine(line, " ^/2084"), 2 + 8);
    EXPECT_EQ(findInLine("Camera", "camera"), -1);
    EXPECT_EQ(findInLine("Camera", "Camera"), 0);
    EXPECT_EQ(findInLine("abc", ""), -1);
}

TEST(CategorySearch, NeverMatchesFromTheSecondByteOfACharacter) {
    // "ア" is 83 41 and "イ" 83 43: "A" is the trail byte of "ア" and "Aイ" straddles the two.
    const QByteArray line = sjis("アイ");
    ASSERT_EQ(line, QByteArray("\x83\x41\x83\x43"));
    EXPECT_EQ(findInLine(line, "A"), -1);
    EXPECT_EQ(findInLine(line, sjis("Aイ")), -1);
    EXPECT_EQ(findInLine(line, sjis("イ")), 2);
    EXPECT_EQ(findInLine(sjis("Aイ"), sjis("Aイ")), 0);
    // "ソ" (83 5C) ends in the byte of a backslash.
    EXPECT_EQ(findInLine(sjis("ソフト"), "\\"), -1);
    EXPECT_EQ(findInLine(sjis("ソフト\\"), "\\"), 6);
}

TEST(CategorySearch, LooksOnlyAtTheFirst127Bytes) {
    const QByteArray pad(kSearchedBytes - 3, '.');
    EXPECT_EQ(findInLine(pad + "abc" + "zzz", "abc"), kSearchedBytes - 3);
    EXPECT_EQ(findInLine(pad + "zabc", "abc"), -1);
    // A double-byte character across the limit is not there.
    const QByteArray pad2(kSearchedBytes - 1, '.');
    EXPECT_EQ(findInLine(pad2 + sjis("ア"), sjis("ア")), -1);
}

TEST(CategorySearch, SearchLinesCountsLinesAndReportsWhereItStopped) {
    const QByteArray data = "top\r\n\tone\r\n\ttwo key\r\nnext key\r\n";
    std::optional<SearchHit> hit = searchLines(data, 0, 3, "key");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->line, 2);
    EXPECT_EQ(hit->nextPos, skipLines(data, 0, 3));
    // Two lines only: "top" and "one".
    EXPECT_FALSE(searchLines(data, 0, 2, "key"));
    // From the line after the hit, the next one is found at its own count.
    hit = searchLines(data, hit->nextPos, 5, "key");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->line, 0);
    EXPECT_EQ(hit->nextPos, data.size());
    EXPECT_FALSE(searchLines(data, data.size(), 5, "key"));
    EXPECT_FALSE(searchLines(data, -1, 5, "top"));
    EXPECT_FALSE(searchLines(data, 0, 0, "top"));
}

TEST(CategorySearch, OverlongLineIsSearchedAsTheTreeSeesIt) {
    // The remainder of a line past the limit is no line of its own.
    const QByteArray data = "A\n" + QByteArray(300, 'x') + "needle\nB needle\n";
    std::optional<SearchHit> hit = searchLines(data, 0, 10, "needle");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->line, 2);
}
