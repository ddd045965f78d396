// The library as the program uses it: loaded from the program folder by path, IniSetting
// called with a UTF-8 path, the dialog answered through the program's one message service.
#include "SampleFields.h"
#include "support/TempFolder.h"
#include "platform/MessageService.h"

#include <QLibrary>
#include <gtest/gtest.h>

using zk::MessageService;

namespace {

class IniSettingTest : public ::testing::Test {
protected:
    void SetUp() override {
        library.setFileName(qEnvironmentVariable("ZERKON_BUILD_DIR") + "/liboptpanel.so");
        ASSERT_TRUE(library.load()) << qPrintable(library.errorString());
        iniSetting = reinterpret_cast<int (*)(const char*)>(library.resolve("IniSetting"));
        ASSERT_NE(iniSetting, nullptr);
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        // A folder with a Japanese name: the path crosses the boundary as UTF-8.
        path = folder.write(QStringLiteral("出品データ/FieldsDefine.ini"), zk::test::sampleFieldsBytes());
    }
    int call(const QStringList& answers) {
        MessageService::instance().setAnswers(answers);
        return iniSetting(path.toUtf8().constData());
    }
    QByteArray bytes() const { return folder.read(QStringLiteral("出品データ/FieldsDefine.ini")); }

    QLibrary library;
    int (*iniSetting)(const char*) = nullptr;
    zk::test::TempFolder folder;
    QString path;
};

} // namespace

TEST_F(IniSettingTest, ReturnsOneWhenTheFileChanged) {
    EXPECT_EQ(call({"SectionSelect=1; VALUE1=OFF; SaveButton"}), 1);
    EXPECT_TRUE(bytes().contains("VALUE1=OFF\r\n"));
    EXPECT_EQ(MessageService::instance().answersLeft(), 0);
    // The dialog went through the shared message service, under its own name.
    const QJsonObject entry = MessageService::instance().transcript().first();
    EXPECT_EQ(entry["kind"].toString(), "dialog");
    EXPECT_EQ(entry["object"].toString(), "OptionDialog");
    EXPECT_EQ(entry["caption"].toString(), QStringLiteral("オプション設定"));
}

TEST_F(IniSettingTest, ReturnsZeroWhenNothingChanged) {
    const QByteArray before = bytes();
    EXPECT_EQ(call({"SHOUHIN_TITLE=Other; CancelButton"}), 0);
    EXPECT_EQ(call({"SaveButton"}), 0);
    // Saved, but with the value the file already had.
    EXPECT_EQ(call({"SHOUHIN_TITLE=Other; SHOUHIN_TITLE=Title; SaveButton"}), 0);
    EXPECT_EQ(bytes(), before);
    // No answers left: the editor is cancelled, never left waiting.
    EXPECT_EQ(call({}), 0);
}

TEST_F(IniSettingTest, UnreadableFileIsReportedAndChangesNothing) {
    folder.write(QStringLiteral("出品データ/FieldsDefine.ini"),
                 "[SYSTEM]\r\nSECTION_NUM=999999\r\n");
    EXPECT_EQ(call({"OK"}), 0);
    const QJsonObject entry = MessageService::instance().transcript().first();
    EXPECT_EQ(entry["kind"].toString(), "message");
    EXPECT_EQ(entry["caption"].toString(), QStringLiteral("エラー"));
    EXPECT_EQ(entry["text"].toString(), QStringLiteral("セクション数が多すぎます（999999、上限 200）。"));
    EXPECT_EQ(iniSetting(nullptr), 0);
}

TEST_F(IniSettingTest, CreatesAMissingFileAndSaysItChanged) {
    path = folder.file("empty/FieldsDefine.ini");
    EXPECT_EQ(call({"CancelButton"}), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(call({"SHOUHIN_TITLE=Title; SaveButton", "Yes"}), 1);
    EXPECT_TRUE(QFile::exists(path));
}
