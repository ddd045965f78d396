// The rules of the form filling that need no browser.
#include "fields/FormRules.h"

#include <gtest/gtest.h>

using namespace zk;

namespace {

TFieldDefs table() {
    TFieldDefs defs;
    defs.FieldTable = {{"price_start", fkText, "1000"}, {"price_buynow", fkText, "2000"}, {"note", fkText, "x"},
                       {"", fkText, "x"},          {"kind", fkUnknown, "x"},        {"empty", fkCheck, ""}};
    defs.FieldCount = int(defs.FieldTable.size());
    defs.StartPriceIndex = 0;
    defs.BuyPriceIndex = 1;
    return defs;
}

} // namespace

TEST(FormRules, PriceFieldsAreSkippedForRelistsAndWorkbookPricesOnly) {
    TFieldDefs defs = table();
    for (int column : {-1, 0}) {
        defs.PriceColumn = column;
        EXPECT_FALSE(fields::skipsField(defs, 0, false)) << column;
        EXPECT_FALSE(fields::skipsField(defs, 1, false)) << column;
        EXPECT_TRUE(fields::skipsField(defs, 0, true)) << column;
    }
    defs.PriceColumn = 3;
    EXPECT_TRUE(fields::skipsField(defs, 0, false));
    EXPECT_TRUE(fields::skipsField(defs, 1, false));
    // Other fields are filled either way.
    EXPECT_FALSE(fields::skipsField(defs, 2, true));
}

TEST(FormRules, FieldsWithoutNameKindOrValueAndPastTheTableAreSkipped) {
    const TFieldDefs defs = table();
    EXPECT_TRUE(fields::skipsField(defs, 3, false));
    EXPECT_TRUE(fields::skipsField(defs, 4, false));
    EXPECT_TRUE(fields::skipsField(defs, 5, false));
    EXPECT_TRUE(fields::skipsField(defs, 6, false));
    EXPECT_TRUE(fields::skipsField(defs, -1, false));
}

TEST(FormRules, ClosingDateKeysAndNumbers) {
    EXPECT_EQ(fields::closingDateTopKeys(), "{UP 8}");
    // Zero steps still sends the group: the first date stays chosen.
    EXPECT_EQ(fields::closingDateKeys(0), "{DOWN 0}");
    EXPECT_EQ(fields::closingDateKeys(6), "{DOWN 6}");

    EXPECT_EQ(fields::fieldNumber("2"), 2);
    EXPECT_EQ(fields::fieldNumber(" 12 "), 12);
    EXPECT_EQ(fields::fieldNumber("-1"), -1);
    EXPECT_EQ(fields::fieldNumber("abc"), std::nullopt);
    EXPECT_EQ(fields::fieldNumber("1.5"), std::nullopt);
    EXPECT_EQ(fields::fieldNumber(""), std::nullopt);
}

// The page's closing lists are read by what their options stand for; the slot the seller chose
// is found there, or the nearest one is named (never taken without asking).
TEST(FormRules, ClosingOptionsAreReadByValueOrLabel) {
    const QDate today(2026, 12, 30);
    struct DateCase {
        const char* value;
        const char* text;
        QDate expected;
    };
    const DateCase dates[] = {
        {"2027-01-02", "2日(土):01/02", QDate(2027, 1, 2)},
        {"", "2日(土):01/02", QDate(2027, 1, 2)},     // label only: the year nearest today
        {"x", "31日(木):12/31", QDate(2026, 12, 31)},
        {"x", "３１日(木):１２/３１", QDate(2026, 12, 31)}, // full-width digits
        {"x", "明日", QDate()},
    };
    for (const DateCase& c : dates)
        EXPECT_EQ(fields::closingOptionDate(QString::fromUtf8(c.value), QString::fromUtf8(c.text), today), c.expected)
            << c.text;

    struct HourCase {
        const char* value;
        const char* text;
        int expected;
    };
    const HourCase hours[] = {
        {"23", "PM１１時～深夜０時", 23},     {"", "PM１１時～深夜０時", 23}, {"", "AM　０時～AM　１時", 0},
        {"", "AM１１時～AM１２時", 11},       {"", "PM　０時～PM　１時", 12}, {"24", "", -1},
        {"x", "夜", -1},
    };
    for (const HourCase& c : hours)
        EXPECT_EQ(fields::closingOptionHour(QString::fromUtf8(c.value), QString::fromUtf8(c.text)), c.expected)
            << c.text;
}

TEST(FormRules, TheChosenSlotIsFoundByWhatItIsElseTheNearestIsNamed) {
    using Options = QList<std::optional<qint64>>;
    struct Case {
        const char* why;
        Options options;
        qint64 wanted;
        int index;
        bool exact;
    };
    const Case cases[] = {
        {"hour 23 after the 13:00 rebuild is row 22, not row 0", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,
                                                                  18, 19, 20, 21, 22, 23}, 23, 22, true},
        {"a passed hour: the first still offered", {3, 4, 5}, 2, 0, false},
        {"a passed date: the first date", {20, 21, 22}, 19, 0, false},
        {"past the last: the last", {0, 1, 2}, 24, 2, false},
        {"as near both ways: the later", {4, 6}, 5, 1, false},
        {"unreadable options are passed over", {std::nullopt, 7, 8}, 8, 2, true},
        {"nothing readable", {std::nullopt}, 8, -1, false},
        {"an empty list", {}, 8, -1, false},
    };
    for (const Case& c : cases) {
        const fields::OptionChoice choice = fields::chooseOption(c.options, c.wanted);
        EXPECT_EQ(choice.index, c.index) << c.why;
        EXPECT_EQ(choice.exact, c.exact) << c.why;
    }
}
