// Profile files as the seller's files need them read and written.
#include "platform/Cp932.h"
#include "platform/NameValueList.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "support/TempFolder.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using zk::ProfileFile;
using zk::test::TempFolder;

namespace {

ProfileFile loaded(const QString& path) {
    ProfileFile file(path);
    EXPECT_TRUE(file.load());
    return file;
}

} // namespace

TEST(Cp932, WindowsMappingsRoundTrip) {
    // The wave dash, full-width minus and circled digits are where plain Shift_JIS differs.
    const QString text = QString::fromUtf8("～－①\\カテゴリ");
    const QByteArray bytes = zk::cp932::fromUnicode(text);
    EXPECT_EQ(bytes.left(2), QByteArray("\x81\x60"));
    EXPECT_EQ(zk::cp932::toUnicode(bytes), text);
    EXPECT_EQ(zk::cp932::byteLength(QString::fromUtf8("あa")), 3);
}

TEST(Cp932, BadBytesAndUnmappableCharactersNeverFail) {
    EXPECT_EQ(zk::cp932::toUnicode(QByteArray("a\x81")), QString::fromUtf8("a\uFFFD"));
    EXPECT_EQ(zk::cp932::toUnicode(QByteArray("\xA0z")), QString::fromUtf8("\uFFFDz"));
    EXPECT_EQ(zk::cp932::fromUnicode(QString::fromUtf8("a😀b")), QByteArray("a?b"));
}

// What CP932 has a form for, as the site and the settings files see it: a character counts as
// what it becomes there; one that reads back as another is no loss to the site but is to a file
// name or a password.
TEST(Cp932, WhatHasAFormAndWhatComesBackAsItWas) {
    const struct {
        const char* text;
        const char* missing;
        const char* unkept;
    } cases[] = {
        {"ブーツ 22〜24cm 黒", "", "〜"},                     // WAVE DASH: 0x8160, back as ～
        {"電源 −5V〜＋5V", "", "−〜"},                       // MINUS SIGN: 0x817C, back as －
        {"A—B‖C", "", "—‖"},                                   // 0x815C, 0x8161
        {"¢£¬", "", "¢£¬"},                                    // 0x8191, 0x8192, 0x81CA
        {"～－①ドキュメント\~?", "", ""},                     // the forms CP932 keeps as they are
        {"靴♥セット♥", "♥", "♥"},                             // no form: each named once
        {"絵😀文字〜", "😀", "😀〜"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(zk::cp932::missingCharacters(text), QString::fromUtf8(c.missing)) << c.text;
        EXPECT_EQ(zk::cp932::unkeptCharacters(text), QString::fromUtf8(c.unkept)) << c.text;
    }
    EXPECT_EQ(zk::cp932::fromUnicode(QString::fromUtf8("〜−")), QByteArray("\x81\x60\x81\x7C"));
}

// A text with a character CP932 has not is not written as "?": the write is refused, the file
// stays as it was, and the characters are named.
TEST(ProfileFile, RefusesATextCp932CannotHold) {
    TempFolder dir;
    const QString path = dir.write("System.ini", "[SYSTEM]\r\nEXCEL_DIR=/old/\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
        const char* missing;
    } cases[] = {
        {"SYSTEM", "EXCEL_DIR", "/home/s/写真♥/", "♥"},
        {"SYSTEM", "TITLE😀", "x", "😀"},
        {"♥SECTION", "KEY", "x", "♥"},
    };
    for (const auto& c : cases) {
        ProfileFile file = loaded(path);
        EXPECT_FALSE(file.writeString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value))) << c.value;
        EXPECT_EQ(file.missingCharacters(), QString::fromUtf8(c.missing)) << c.value;
        EXPECT_EQ(dir.read("System.ini"), "[SYSTEM]\r\nEXCEL_DIR=/old/\r\n") << c.value;
    }
    // One CP932 has a form for goes in as that form.
    ProfileFile file = loaded(path);
    ASSERT_TRUE(file.writeString("SYSTEM", "SHOUHIN_TITLE", QString::fromUtf8("22〜24cm")));
    EXPECT_TRUE(file.missingCharacters().isEmpty());
    EXPECT_EQ(dir.read("System.ini"), "[SYSTEM]\r\nEXCEL_DIR=/old/\r\nSHOUHIN_TITLE=22\x81\x60" "24cm\r\n");
}

TEST(ProfileFile, ReadsFilesAsWindowsDoes) {
    TempFolder dir;
    const QString path = dir.write("System.ini",
        zk::cp932::fromUnicode(QString::fromUtf8(
            "[system]\r\nlogin_url=https://a.example/?x=1&y=2\r\nKEY=first\r\nkey=second\r\n"
            "  Spaced  =  value with blanks  \r\nMSG=出品が完了しました\r\nNUM=12abc\r\nNEG=-7\r\nTEXT=abc\r\n"
            ";COMMENT=1\r\n[Other]\r\nA=1\r\n")));
    ProfileFile file = loaded(path);
    EXPECT_TRUE(file.hasSection("SYSTEM"));
    EXPECT_EQ(file.readString("SYSTEM", "LOGIN_URL"), "https://a.example/?x=1&y=2");
    EXPECT_EQ(file.readString("System", "key"), "first");
    EXPECT_EQ(file.readString("SYSTEM", "spaced"), "value with blanks");
    EXPECT_EQ(file.readString("SYSTEM", "MSG"), QString::fromUtf8("出品が完了しました"));
    EXPECT_EQ(file.readInteger("SYSTEM", "NUM", -1), 12);
    EXPECT_EQ(file.readInteger("SYSTEM", "NEG", 0), -7);
    EXPECT_EQ(file.readInteger("SYSTEM", "TEXT", -1), 0);
    EXPECT_EQ(file.readInteger("SYSTEM", "MISSING", -1), -1);
    EXPECT_FALSE(file.hasKey("SYSTEM", ";COMMENT"));
    EXPECT_EQ(file.readString("Nowhere", "A", "dflt"), "dflt");
    const QStringList lines = file.readSection("SYSTEM");
    EXPECT_EQ(lines.count(), 7);
    EXPECT_EQ(zk::NameValueList(lines).value("KEY"), "first");
}

TEST(ProfileFile, WholeSectionsInFileOrderWithTheFirstOfKeysThatDifferOnlyInCase) {
    TempFolder dir;
    ProfileFile file = loaded(dir.write("links.ini", "[LINK]\r\nb=1\r\nA=2\r\nB=3\r\n;c=4\r\na=\r\n C = x \r\n[Next]\r\nD=5\r\n"));
    EXPECT_EQ(file.readSection("link"), (QStringList{"b=1", "A=2", "C=x"}));
    EXPECT_EQ(file.keyNames("LINK"), (QStringList{"b", "A", "C"}));
    EXPECT_EQ(file.readSection("None"), QStringList());
}

TEST(ProfileFile, MissingFileReadsEmptyAndIsCreatedByAWrite) {
    TempFolder dir;
    ProfileFile file(dir.file("new.ini"));
    EXPECT_FALSE(file.exists());
    EXPECT_TRUE(file.load());
    EXPECT_FALSE(file.hasSection("SYSTEM"));
    ASSERT_TRUE(file.writeInteger("FormInfo1", "START_PRICE1", 1500));
    EXPECT_EQ(dir.read("new.ini"), QByteArray("[FormInfo1]\r\nSTART_PRICE1=1500\r\n"));
}

TEST(ProfileFile, WritesChangeOnlyTheirLineAndKeepTheFormat) {
    TempFolder dir;
    const QByteArray original = "; settings\n[SYSTEM]\nA=1\nb=2\n\n[Other]\nX=y\n";
    const QString path = dir.write("f.ini", original);
    ProfileFile file = loaded(path);
    ASSERT_TRUE(file.writeString("system", "B", "changed"));
    ASSERT_TRUE(file.writeString("SYSTEM", "NEW", QString::fromUtf8("新しい")));
    ASSERT_TRUE(file.writeString("Added", "K", "v"));
    const QByteArray expected = "; settings\n[SYSTEM]\nA=1\nb=changed\nNEW=" +
                                zk::cp932::fromUnicode(QString::fromUtf8("新しい")) +
                                "\n\n[Other]\nX=y\n\n[Added]\nK=v\n";
    EXPECT_EQ(dir.read("f.ini"), expected);
    EXPECT_EQ(loaded(path).readString("SYSTEM", "new"), QString::fromUtf8("新しい"));
}

TEST(ProfileFile, ValuesWithBlanksOrQuotesSurviveARoundTrip) {
    TempFolder dir;
    const QString path = dir.file("p.ini");
    ProfileFile file(path);
    for (const QString& value : {QString(" pass word "), QString("\"quoted\""), QString("a=b"), QString()}) {
        ASSERT_TRUE(file.writeString("SYSTEM", "PASSWORD", value));
        EXPECT_EQ(loaded(path).readString("SYSTEM", "PASSWORD"), value);
    }
}

TEST(ProfileFile, PermissionsAreKeptOrSetOnWrite) {
    TempFolder dir;
    const QString path = dir.file("System.ini");
    ProfileFile file(path);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(file.writeString("SYSTEM", "PASSWORD", "secret"));
    const auto ownerOnly = [&] {
        const QFileDevice::Permissions p = QFileInfo(path).permissions();
        return p.testFlag(QFileDevice::ReadOwner) && p.testFlag(QFileDevice::WriteOwner) &&
               !(p & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther));
    };
    EXPECT_TRUE(ownerOnly());
    ProfileFile again(path);
    ASSERT_TRUE(again.writeString("SYSTEM", "YAHOO_ID", "me"));
    EXPECT_TRUE(ownerOnly());
}

TEST(ProfileFile, UnwritableFileReportsFailureAndKeepsMemory) {
    TempFolder dir;
    ProfileFile file(dir.path() + "/missing-folder/x.ini");
    EXPECT_FALSE(file.writeString("S", "K", "v"));
    EXPECT_FALSE(file.hasSection("S"));
}

TEST(Registry, KeysExistWithoutValuesAndHoldIntegers) {
    TempFolder dir;
    zk::Registry registry(dir.file("registry.ini"));
    const QString key = "Software\\Zerkon\\WindowPos\\Zerkon";
    EXPECT_FALSE(registry.keyExists(key));
    ASSERT_TRUE(registry.createKey(key));
    EXPECT_TRUE(registry.keyExists(key));
    EXPECT_FALSE(registry.readInteger(key, "Top").has_value());
    ASSERT_TRUE(registry.writeInteger(key, "Top", -11));
    EXPECT_EQ(registry.readInteger(key, "top").value_or(0), -11);
}
