// Loading the field definition file.
#include "fields/Fields.h"
#include "platform/MessageService.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using zk::MessageService;
using zk::TFieldDefs;
using zk::test::TempFolder;

namespace {

const char* kSystem =
    "[SYSTEM]\r\nSECTION_NUM=%1\r\nSHOUHIN_TITLE=Title\r\nSHOUHIN_SETUMEI=Description\r\n"
    "KAISI_PRICE_SEC_POS=1\r\nKAISI_PRICE_ITEM_POS=1\r\nKIBOU_PRICE_SEC_POS=%2\r\nKIBOU_PRICE_ITEM_POS=%3\r\n"
    "BANK_NAME_NUM=2\r\nSONOTA_KESSAI_NUM=0\r\nBANK_DEFAULT_NUM=1\r\nKESSAI_DEFAULT_NUM=0\r\n";

class FieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
    }
    int load(const QString& text) {
        path_ = dir_.writeCp932("FieldsDefine.ini", text);
        return defs_.Load(path_);
    }
    QString lastMessage() const {
        const auto& t = MessageService::instance().transcript();
        return t.isEmpty() ? QString() : t.last()["text"].toString();
    }
    TempFolder dir_;
    QString path_;
    TFieldDefs defs_;
};

} // namespace

TEST_F(FieldsTest, LoadsSectionsInFileOrderWithPricePositions) {
    ASSERT_EQ(load(QString(kSystem).arg(2).arg(1).arg(2) +
                   "[SECTION1]\r\nNUM=2\r\nNAME1=StartPrice\r\nTYPE1=TEXT\r\nNAME2=BidOrBuyPrice\r\nTYPE2=TEXT\r\n"
                   "[SECTION2]\r\nNUM=3\r\nNAME1=shipping\r\nTYPE1=CHECK\r\nVALUE1=ON\r\nNAME2=loc\r\nTYPE2=COMBO\r\n"
                   "VALUE2=3\r\nNAME3=pay\r\nTYPE3=text\r\nVALUE3=1\r\n"),
              0);
    EXPECT_EQ(defs_.FieldCount, 5);
    EXPECT_EQ(defs_.StartPriceIndex, 0);
    EXPECT_EQ(defs_.BuyPriceIndex, 1);
    EXPECT_EQ(defs_.FieldTable[2].Kind, zk::fkCheck);
    EXPECT_EQ(defs_.FieldTable[3].Value, "3");
    EXPECT_EQ(defs_.FieldTable[4].Kind, zk::fkUnknown); // lower-case type is never applied
    EXPECT_EQ(defs_.TitleFieldName, "Title");
    EXPECT_EQ(defs_.BankNameNum, 2);
    EXPECT_EQ(defs_.FieldName(3), "loc");
}

TEST_F(FieldsTest, NoSectionsLoadsAndPricePositionsDesignateNothing) {
    ASSERT_EQ(load(QString(kSystem).arg(0).arg(1).arg(2)), 0);
    EXPECT_EQ(defs_.FieldCount, 0);
    EXPECT_EQ(defs_.StartPriceIndex, -1);
    EXPECT_EQ(defs_.BuyPriceIndex, -1);
    EXPECT_EQ(defs_.FieldName(defs_.StartPriceIndex), "");
    EXPECT_EQ(lastMessage(), QString::fromUtf8("フィールド数を超えてしていされました。"));
}

TEST_F(FieldsTest, SectionWithoutNumAndPositionsPastTheFieldsAreSafe) {
    // Section 1 has no NUM; the buy-now position points past section 2's fields.
    ASSERT_EQ(load(QString(kSystem).arg(2).arg(2).arg(9) +
                   "[SECTION1]\r\nNAME1=ignored\r\nTYPE1=TEXT\r\n[SECTION2]\r\nNUM=1\r\nNAME1=only\r\nTYPE1=RADIO\r\n"),
              0);
    EXPECT_EQ(defs_.FieldCount, 1);
    EXPECT_EQ(defs_.FieldTable[0].Name, "only");
    EXPECT_EQ(defs_.StartPriceIndex, -1);
    EXPECT_EQ(defs_.BuyPriceIndex, -1);
    MessageService::instance().clearTranscript();
    EXPECT_EQ(defs_.FieldName(1), "");
    EXPECT_EQ(MessageService::instance().transcript().size(), 1);
    EXPECT_EQ(MessageService::instance().transcript()[0]["caption"].toString(), QString::fromUtf8("エラー"));
}

TEST_F(FieldsTest, SamePositionForBothPricesSetsOnlyTheStartPrice) {
    ASSERT_EQ(load(QString(kSystem).arg(1).arg(1).arg(1) + "[SECTION1]\r\nNUM=1\r\nNAME1=p\r\nTYPE1=TEXT\r\n"), 0);
    EXPECT_EQ(defs_.StartPriceIndex, 0);
    EXPECT_EQ(defs_.BuyPriceIndex, -1);
}

TEST_F(FieldsTest, MissingKeysAreReportedInOrder) {
    QString text = QString(kSystem).arg(1).arg(1).arg(2);
    text.remove("KAISI_PRICE_SEC_POS=1\r\n");
    EXPECT_EQ(load(text), -1);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("SECTION[SYSTEM]のKEY[KAISI_PRICE_SEC_POS]が読み込めません。"));
    EXPECT_EQ(MessageService::instance().transcript().last()["caption"].toString(),
              QString::fromUtf8("INIファイル読み込みエラー"));

    EXPECT_EQ(load(QString(kSystem).arg(-1).arg(1).arg(2)), -1);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("SECTION[SYSTEM]のKEY[SECTION_NUM]が読み込めません。"));
    QString noTitle = QString(kSystem).arg(1).arg(1).arg(2);
    noTitle.replace("SHOUHIN_TITLE=Title", "SHOUHIN_TITLE=");
    EXPECT_EQ(load(noTitle), -1);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("SECTION[SYSTEM]のKEY[SHOUHIN_TITLE]が読み込めません。"));
}

TEST_F(FieldsTest, MissingFileAndReloadReplacingTheTable) {
    EXPECT_EQ(defs_.Load(dir_.file("none.ini")), -1);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("FieldsDefine.iniがありません。"));
    ASSERT_EQ(load(QString(kSystem).arg(1).arg(1).arg(2) + "[SECTION1]\r\nNUM=4\r\n"), 0);
    EXPECT_EQ(defs_.FieldCount, 4);
    ASSERT_EQ(load(QString(kSystem).arg(1).arg(1).arg(2) + "[SECTION1]\r\nNUM=1\r\n"), 0);
    EXPECT_EQ(defs_.FieldCount, 1);
    EXPECT_EQ(defs_.FieldTable.size(), 1u);
}

TEST_F(FieldsTest, CountsBeyondWhatAFormHoldsAreRefusedNamingTheKeyAndTheFile) {
    struct Case { QString sectionNum, sections, message; };
    const QString tooMany = QString::fromUtf8("FieldsDefine.iniのSECTION[%1]のKEY[%2]の値が大きすぎます（%3、上限 200）。");
    const QList<Case> cases = {
        {"2147483647", "", tooMany.arg("SYSTEM", "SECTION_NUM", "2147483647")},
        {"99999999999", "", tooMany.arg("SYSTEM", "SECTION_NUM", "99999999999")},
        {"201", "", tooMany.arg("SYSTEM", "SECTION_NUM", "201")},
        {"2", "[SECTION1]\r\nNUM=1\r\n[SECTION2]\r\nNUM=100000000\r\n", tooMany.arg("SECTION2", "NUM", "100000000")},
        {"1", "[SECTION1]\r\nNUM=2000000000\r\n", tooMany.arg("SECTION1", "NUM", "2000000000")},
        {"1", "[SECTION1]\r\nNUM=201\r\n", tooMany.arg("SECTION1", "NUM", "201")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        MessageService::instance().clearTranscript();
        EXPECT_EQ(load(QString(kSystem).arg(c.sectionNum).arg(1).arg(2) + c.sections), -1);
        ASSERT_EQ(MessageService::instance().transcript().size(), 1);
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(MessageService::instance().transcript()[0]["caption"].toString(),
                  QString::fromUtf8("INIファイル読み込みエラー"));
        EXPECT_EQ(defs_.FieldCount, 0);
    }

    // The largest counts load, with every field's keys.
    QString full = QString(kSystem).arg(200).arg(200).arg(200);
    for (int s = 1; s <= 200; ++s) {
        full += QString("[SECTION%1]\r\nNUM=200\r\n").arg(s);
        for (int i = 1; i <= 200; ++i) full += QString("NAME%1=f%2_%1\r\ntype%1=CHECK\r\nVALUE%1=ON\r\n").arg(i).arg(s);
    }
    ASSERT_EQ(load(full), 0);
    EXPECT_EQ(defs_.FieldCount, 40000);
    EXPECT_EQ(defs_.BuyPriceIndex, 39999);
    EXPECT_EQ(defs_.FieldTable[39999].Name, "f200_200");
    EXPECT_EQ(defs_.FieldTable[201].Name, "f2_2");
    EXPECT_EQ(defs_.FieldTable[201].Kind, zk::fkCheck);
    EXPECT_EQ(defs_.FieldTable[201].Value, "ON");
}
