// The option editor's model of FieldsDefine.ini: what it reads, and that saving changes only
// the lines of what was edited.
#include "FieldsSettings.h"
#include "SampleFields.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using zk::optpanel::FieldEntry;
using zk::optpanel::FieldsSettings;
using zk::optpanel::SectionEntry;
using zk::test::TempFolder;

namespace {

class FieldsSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.write("FieldsDefine.ini", zk::test::sampleFieldsBytes());
        ASSERT_TRUE(settings.load(path)) << qPrintable(settings.errorString());
    }
    QByteArray bytes() const { return folder.read("FieldsDefine.ini"); }
    // The file as lines, checking that every line still ends in CRLF.
    QStringList lines() const {
        const QByteArray b = bytes();
        EXPECT_TRUE(b.endsWith("\r\n"));
        QStringList out = zk::cp932::toUnicode(b).split(QStringLiteral("\r\n"));
        out.removeLast();
        for (const QString& l : out) EXPECT_FALSE(l.contains('\n')) << qPrintable(l);
        return out;
    }
    // The sample with some lines replaced, inserted or removed.
    static QStringList sample() { return zk::test::sampleFieldsLines(); }

    TempFolder folder;
    QString path;
    FieldsSettings settings;
};

} // namespace

TEST_F(FieldsSettingsTest, ReadsSystemKeysAndSectionsInFileOrder) {
    EXPECT_EQ(settings.system.shouhinTitle, "Title");
    EXPECT_EQ(settings.system.shouhinSetumei, "Description");
    EXPECT_EQ(settings.system.kaisiPriceSecPos, 1);
    EXPECT_EQ(settings.system.kibouPriceItemPos, 2);
    EXPECT_EQ(settings.system.bankNameNum, 1);
    EXPECT_EQ(settings.system.kessaiDefaultNum, 0);
    ASSERT_EQ(settings.sections.size(), 2);
    ASSERT_EQ(settings.sections[1].fields.size(), 3);
    EXPECT_EQ(settings.sections[1].fields[1], (FieldEntry{"loc_cd", "COMBO", "13"}));
    EXPECT_EQ(settings.sections[1].fields[2], (FieldEntry{"comment", "text", QStringLiteral("送料込み～")}));
    EXPECT_FALSE(settings.isModified());
    EXPECT_TRUE(settings.missingKeys().isEmpty());
}

TEST_F(FieldsSettingsTest, SavingWithoutChangesLeavesTheFileByteForByte) {
    const QByteArray before = bytes();
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(bytes(), before);
    // Changed and changed back is no change either.
    settings.sections[1].fields[0].value = "OFF";
    settings.system.bankNameNum = 3;
    settings.sections[1].fields[0].value = "ON";
    settings.system.bankNameNum = 1;
    EXPECT_FALSE(settings.isModified());
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(bytes(), before);
}

TEST_F(FieldsSettingsTest, ASaveLeavesTheBankDataOwnerOnlyWhateverTheModeWas) {
    QFile::setPermissions(path, QFileDevice::Permissions(0x6644));
    settings.sections[1].fields[0].value = "OFF";
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(QFileInfo(path).permissions() & 0x7077, 0x6000);
}

TEST_F(FieldsSettingsTest, AnEditedValueChangesOnlyItsLineInCp932) {
    settings.sections[1].fields[2].value = QStringLiteral("①送料は落札者負担");
    settings.system.shouhinTitle = QStringLiteral("タイトル欄");
    ASSERT_TRUE(settings.save()) << qPrintable(settings.errorString());
    QStringList expected = sample();
    expected[expected.indexOf("VALUE3=送料込み～")] = QStringLiteral("VALUE3=①送料は落札者負担");
    expected[expected.indexOf("SHOUHIN_TITLE=Title")] = QStringLiteral("SHOUHIN_TITLE=タイトル欄");
    EXPECT_EQ(lines(), expected);
    EXPECT_TRUE(bytes().contains(QByteArray("\x87\x40", 2))) << "① as its CP932 bytes";
    EXPECT_FALSE(settings.isModified());
}

// A text the file cannot hold is refused whole, named, before any line is written: no "?" in
// the seller's answers and no half-saved file.
TEST_F(FieldsSettingsTest, ATextCp932CannotHoldIsRefusedBeforeAnythingIsWritten) {
    const QByteArray before = bytes();
    settings.system.shouhinTitle = QStringLiteral("タイトル欄");
    settings.sections[1].fields[2].value = QStringLiteral("送料込み♥");
    EXPECT_FALSE(settings.save());
    EXPECT_TRUE(settings.errorString().endsWith(QStringLiteral("：♥"))) << qPrintable(settings.errorString());
    EXPECT_EQ(bytes(), before);
}

TEST_F(FieldsSettingsTest, UnknownTypeTextIsKeptUnlessChanged) {
    settings.sections[1].fields[2].name = "note";
    ASSERT_TRUE(settings.save());
    FieldsSettings again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(again.sections[1].fields[2].type, "text");
}

TEST_F(FieldsSettingsTest, AddedFieldGoesToTheEndOfItsSectionAndRaisesNum) {
    settings.sections[0].fields.append({"Quantity", "TEXT", "1"});
    ASSERT_TRUE(settings.save());
    QStringList l = lines();
    // The new keys follow the section's last line, in order, before the next section.
    const int name = l.indexOf("NAME3=Quantity");
    ASSERT_GT(name, l.indexOf("VALUE2="));
    EXPECT_EQ(l.mid(name, 3), (QStringList{"NAME3=Quantity", "TYPE3=TEXT", "VALUE3=1"}));
    EXPECT_LT(name, l.indexOf("[SECTION2]"));
    // Apart from them, only SECTION1's NUM changed.
    l.erase(l.begin() + name, l.begin() + name + 3);
    QStringList expected = sample();
    expected[expected.indexOf("NUM=2")] = "NUM=3"; // SECTION1's, the first NUM=2
    EXPECT_EQ(l, expected);
}

TEST_F(FieldsSettingsTest, RemovedFieldRenumbersTheRestAndDropsTheLastKeys) {
    settings.sections[1].fields.removeFirst();
    ASSERT_TRUE(settings.save());
    FieldsSettings again;
    ASSERT_TRUE(again.load(path));
    ASSERT_EQ(again.sections[1].fields.size(), 2);
    EXPECT_EQ(again.sections[1].fields[0].name, "loc_cd");
    EXPECT_EQ(again.sections[1].fields[1].name, "comment");
    const QStringList l = lines();
    EXPECT_FALSE(l.contains("NAME3=comment"));
    EXPECT_EQ(l.count("TYPE3=text"), 0);
    EXPECT_TRUE(l.contains("; 発送の設定"));
    EXPECT_TRUE(l.contains("KEEP=そのまま"));
    EXPECT_TRUE(l.contains("MEMO=自分用のメモ"));
    EXPECT_EQ(l.last(), "KEEP=そのまま");
}

TEST_F(FieldsSettingsTest, AddedSectionIsWrittenWholeAndCounted) {
    // A left-over section of an earlier, longer file must not leak keys into the new one.
    QByteArray withStale = zk::test::sampleFieldsBytes() + "[SECTION3]\r\nNUM=5\r\nNAME4=old\r\n";
    path = folder.write("FieldsDefine.ini", withStale);
    ASSERT_TRUE(settings.load(path));
    SectionEntry section;
    section.fields.append({QStringLiteral("発送方法"), "RADIO", "2"});
    settings.sections.append(section);
    ASSERT_TRUE(settings.save());
    const QStringList l = lines();
    EXPECT_TRUE(l.contains("SECTION_NUM=3"));
    const int at = l.indexOf("[SECTION3]");
    ASSERT_GE(at, 0);
    EXPECT_EQ(l.mid(at + 1, 4), (QStringList{"NUM=1", QStringLiteral("NAME1=発送方法"), "TYPE1=RADIO", "VALUE1=2"}));
    EXPECT_FALSE(l.contains("NAME4=old"));
    FieldsSettings again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(again.sections, settings.sections);
}

TEST_F(FieldsSettingsTest, RemovedSectionGoesAndTheRestMoveUp) {
    settings.sections.removeFirst();
    ASSERT_TRUE(settings.save());
    FieldsSettings again;
    ASSERT_TRUE(again.load(path));
    ASSERT_EQ(again.sections.size(), 1);
    EXPECT_EQ(again.sections[0].fields.size(), 3);
    EXPECT_EQ(again.sections[0].fields[0].name, "shipping");
    const QStringList l = lines();
    EXPECT_TRUE(l.contains("SECTION_NUM=1"));
    EXPECT_FALSE(l.contains("[SECTION2]"));
    EXPECT_TRUE(l.contains("[OTHER]"));
}

TEST_F(FieldsSettingsTest, SystemIntegersAndAbsentKeysAreWritten) {
    QStringList withoutBank = sample();
    withoutBank.removeAll("BANK_DEFAULT_NUM=1");
    path = folder.write("FieldsDefine.ini", zk::test::cp932Lines(withoutBank));
    ASSERT_TRUE(settings.load(path));
    EXPECT_EQ(settings.system.bankDefaultNum, -1);
    EXPECT_EQ(settings.missingKeys(), QStringList{"BANK_DEFAULT_NUM"});
    settings.system.bankDefaultNum = 2;
    settings.system.kibouPriceItemPos = 3;
    ASSERT_TRUE(settings.save());
    QStringList expected = withoutBank;
    expected[expected.indexOf("KIBOU_PRICE_ITEM_POS=2")] = "KIBOU_PRICE_ITEM_POS=3";
    expected.insert(expected.indexOf("MEMO=自分用のメモ") + 1, "BANK_DEFAULT_NUM=2");
    EXPECT_EQ(lines(), expected);
}

TEST_F(FieldsSettingsTest, MissingSectionNumIsWrittenOnlyWithAnEdit) {
    QStringList noCount = sample();
    noCount.removeAll("SECTION_NUM=2");
    path = folder.write("FieldsDefine.ini", zk::test::cp932Lines(noCount));
    ASSERT_TRUE(settings.load(path));
    EXPECT_TRUE(settings.sections.isEmpty());
    const QByteArray before = bytes();
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(bytes(), before);
    settings.system.shouhinSetumei = "Body";
    ASSERT_TRUE(settings.save());
    EXPECT_TRUE(lines().contains("SECTION_NUM=0"));
}

TEST_F(FieldsSettingsTest, HostileCountsAreRefusedOrRead) {
    QStringList many = sample();
    many[many.indexOf("SECTION_NUM=2")] = "SECTION_NUM=2000000000";
    path = folder.write("FieldsDefine.ini", zk::test::cp932Lines(many));
    EXPECT_FALSE(settings.load(path));
    EXPECT_EQ(settings.errorString(), QStringLiteral("セクション数が多すぎます（2000000000、上限 200）。"));

    QStringList fields = sample();
    fields[fields.indexOf("NUM=3")] = "NUM=99999";
    path = folder.write("FieldsDefine.ini", zk::test::cp932Lines(fields));
    EXPECT_FALSE(settings.load(path));
    EXPECT_TRUE(settings.sections.isEmpty());

    QStringList negative = sample();
    negative[negative.indexOf("NUM=3")] = "NUM=-3";
    path = folder.write("FieldsDefine.ini", zk::test::cp932Lines(negative));
    ASSERT_TRUE(settings.load(path));
    EXPECT_TRUE(settings.sections[1].fields.isEmpty());
}

TEST_F(FieldsSettingsTest, MissingFileLoadsEmptyAndSavingCreatesIt) {
    FieldsSettings fresh;
    const QString newPath = folder.file("new/FieldsDefine.ini");
    ASSERT_TRUE(fresh.load(newPath));
    EXPECT_EQ(fresh.missingKeys().size(), 10);
    EXPECT_EQ(fresh.missingKeys().first(), "SHOUHIN_TITLE");
    fresh.system.shouhinTitle = "Title";
    fresh.sections.append(SectionEntry{{{"a", "CHECK", "ON"}}});
    ASSERT_TRUE(fresh.save());
    FieldsSettings again;
    ASSERT_TRUE(again.load(newPath));
    EXPECT_EQ(again.system.shouhinTitle, "Title");
    EXPECT_EQ(again.sections, fresh.sections);
    EXPECT_TRUE(folder.read("new/FieldsDefine.ini").contains("\r\n"));
}

TEST_F(FieldsSettingsTest, UnwritableFileFailsWithAMessage) {
    FieldsSettings lost;
    ASSERT_TRUE(lost.load(folder.path() + "/no-such-folder/FieldsDefine.ini"));
    lost.system.shouhinTitle = "x";
    EXPECT_FALSE(lost.save());
    EXPECT_EQ(lost.errorString(), QStringLiteral("FieldsDefine.iniの保存に失敗しました。\nFieldsDefine.ini"));
    EXPECT_TRUE(lost.isModified());
}

TEST_F(FieldsSettingsTest, FieldAtFollowsThePositionsAndStaysInRange) {
    ASSERT_NE(settings.fieldAt(1, 2), nullptr);
    EXPECT_EQ(settings.fieldAt(1, 2)->name, "BidOrBuyPrice");
    EXPECT_EQ(settings.fieldAt(2, 4), nullptr);
    EXPECT_EQ(settings.fieldAt(3, 1), nullptr);
    EXPECT_EQ(settings.fieldAt(0, 1), nullptr);
    EXPECT_EQ(settings.fieldAt(-1, -1), nullptr);
}

TEST_F(FieldsSettingsTest, NamesInAnyCaseAreEditedInPlace) {
    QStringList lower = sample();
    lower[lower.indexOf("[SECTION2]")] = "[section2]";
    lower[lower.indexOf("VALUE1=ON")] = "value1=ON";
    path = folder.write("FieldsDefine.ini", zk::test::cp932Lines(lower));
    ASSERT_TRUE(settings.load(path));
    EXPECT_EQ(settings.sections[1].fields[0].value, "ON");
    settings.sections[1].fields[0].value = "OFF";
    ASSERT_TRUE(settings.save());
    QStringList expected = lower;
    expected[expected.indexOf("value1=ON")] = "value1=OFF";
    EXPECT_EQ(lines(), expected);
}
