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
