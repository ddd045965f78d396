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

// The page's closing lists are read by what their options stand for (value, else label); the
// slot the seller chose is found there, else the nearest one is named, never taken unasked.
TEST(FormRules, ClosingOptionsAreReadByWhatTheyStandFor) {
    const QDate today(2026, 12, 30);
    EXPECT_EQ(fields::closingOptionDate("2027-01-02", "x", today), QDate(2027, 1, 2));
    EXPECT_EQ(fields::closingOptionDate("", "2日(土):01/02", today), QDate(2027, 1, 2)); // the year nearest today
    EXPECT_EQ(fields::closingOptionDate("x", "３１日(木):１２/３１", today), QDate(2026, 12, 31));
    EXPECT_EQ(fields::closingOptionDate("x", "明日", today), QDate());
    EXPECT_EQ(fields::closingOptionHour("23", "?"), 23);
    EXPECT_EQ(fields::closingOptionHour("", "PM１１時～深夜０時"), 23);
    EXPECT_EQ(fields::closingOptionHour("", "AM　０時～AM　１時"), 0);
    EXPECT_EQ(fields::closingOptionHour("", "PM　０時～PM　１時"), 12);
    EXPECT_EQ(fields::closingOptionHour("24", "夜"), -1);

    using Options = QList<std::optional<qint64>>;
    struct Case {
        const char* why;
        Options options;
        qint64 wanted;
        int index;
        bool exact;
    };
    const Case cases[] = {
        {"hour 23 after the 13:00 rebuild is the row it is on", {1, 2, 22, 23}, 23, 3, true},
        {"a passed hour or date: the first still offered", {3, 4, 5}, 2, 0, false},
        {"past the last: the last", {0, 1, 2}, 24, 2, false},
        {"as near both ways: the later", {4, 6}, 5, 1, false},
        {"unreadable options are passed over", {std::nullopt, 7, 8}, 8, 2, true},
        {"nothing readable", {std::nullopt}, 8, -1, false},
    };
    for (const Case& c : cases) {
        const fields::OptionChoice choice = fields::chooseOption(c.options, c.wanted);
        EXPECT_EQ(choice.index, c.index) << c.why;
        EXPECT_EQ(choice.exact, c.exact) << c.why;
    }
}
