// The first start's setup without the program around it: the folder's state, the files made from
// the package's defaults, the setup window's answers, and Qt's own texts in Japanese.
#include "app/DataFolderSetup.h"
#include "app/Program.h"
#include "app/SetupDialog.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"
#include "support/TempFolder.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using zk::MessageService;
using zk::test::TempFolder;
using Kind = zk::setup::FolderState::Kind;

namespace {

QString defaults() { return qEnvironmentVariable("ZERKON_SOURCE_DIR") + "/resources/defaults/"; }

QStringList shownTexts() {
    QStringList texts;
    for (const QJsonObject& e : MessageService::instance().transcript())
        if (e["kind"].toString() == "message") texts << e["text"].toString();
    return texts;
}

} // namespace

TEST(DataFolderState, NamesWhatIsMissingAndWhatCannotBeRead) {
    struct Case {
        const char* what;
        QStringList files;     // made as plain files
        QStringList folders;   // made as folders under a file's name
        Kind kind;
        QStringList missing;
    };
    const QList<Case> cases = {
        {"nothing", {}, {}, Kind::Empty, {"System.ini", "FieldsDefine.ini", "category.txt"}},
        {"everything", {"System.ini", "FieldsDefine.ini", "category.txt"}, {}, Kind::Ready, {}},
        {"no categories", {"System.ini", "FieldsDefine.ini"}, {}, Kind::Incomplete, {"category.txt"}},
        {"only the categories", {"category.txt"}, {}, Kind::Incomplete, {"System.ini", "FieldsDefine.ini"}},
        {"a folder for a file", {"System.ini", "category.txt"}, {"FieldsDefine.ini"}, Kind::Unreadable, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        for (const QString& f : c.files) dir.write("data/" + f, "[SYSTEM]\r\n");
        for (const QString& f : c.folders) QDir().mkpath(dir.file("data/" + f));
        QDir().mkpath(dir.file("data"));
        const zk::setup::FolderState state = zk::setup::inspect(dir.path() + "/data/");
        EXPECT_EQ(state.kind, c.kind);
        EXPECT_EQ(state.missing, c.missing);
        if (c.kind == Kind::Unreadable) {
            EXPECT_EQ(state.unreadable, dir.path() + "/data/FieldsDefine.ini");
        }
    }
    // No folder at all is an empty one.
    EXPECT_EQ(zk::setup::inspect("/nonexistent/zerkon-data/").kind, Kind::Empty);
}

TEST(DataFolderSetup, TakesOnlyHostNamesWithAnOptionalPort) {
    const QList<QPair<QString, bool>> cases = {
        {"auctions.example.jp", true}, {"login.example.jp:8443", true}, {"localhost", true},
        {"", false}, {"  ", false}, {"https://auctions.example.jp", false}, {"auctions.example.jp/jp", false},
        {"a..b", false}, {"-a.example", false}, {"a.example:0", false}, {"a.example:70000", false},
        {"a example", false}, {"a.example:", false},
    };
    for (const auto& [host, fine] : cases)
        EXPECT_EQ(zk::setup::hostProblem(host).isEmpty(), fine) << host.toStdString();
}

// The defaults make a folder the start-up takes: every required key set, the addresses on the
// hosts given, the account and the option editor still to come, the secrets the seller's alone.
TEST(DataFolderSetup, MakesAFolderTheStartUpTakesFromTheDefaults) {
    TempFolder dir;
    const QString data = dir.path() + "/data/";
    const QString error = zk::setup::makeFromDefaults(data, defaults(), zk::setup::requiredFiles(),
                                                      {"auctions.example.test", "login.example.test:8443"}, "/home/s/Documents/");
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(zk::setup::inspect(data).kind, Kind::Ready);
    zk::ProfileFile ini(data + "System.ini");
    ASSERT_TRUE(ini.load());
    for (const QString& key : zk::workflow::ini::RequiredSystemKeys) {
        const QString value = ini.readString("SYSTEM", key);
        EXPECT_FALSE(value.isEmpty()) << key.toStdString();
        EXPECT_FALSE(value.contains('%')) << key.toStdString() << " keeps a marker: " << value.toStdString();
    }
    EXPECT_EQ(ini.readString("SYSTEM", "LOGIN_URL"),
              "https://login.example.test:8443/config/login?.lg=jp&.intl=jp&.src=auc&.done=https://auctions.example.test/jp");
    EXPECT_EQ(ini.readString("SYSTEM", "RESHUPPIN_URL"), "https://auctions.example.test/jp/show/resubmit?aID=");
    EXPECT_TRUE(ini.readString("SYSTEM", "RAKUSATUNASHI_PAGE").endsWith("hasWinner=0"));
    EXPECT_EQ(ini.readString("SYSTEM", "RESHUPPIN_STR"), QString::fromUtf8("この商品を再出品"));
    EXPECT_EQ(ini.readString("SYSTEM", "EXCEL_DIR"), "/home/s/Documents/");
    EXPECT_EQ(ini.readString("SYSTEM", "INIT_START"), "0");
    EXPECT_EQ(ini.readString("SYSTEM", "YAHOO_ID"), "0000");
    EXPECT_EQ(ini.readString("SITE", "AUCTION_HOST"), "auctions.example.test");
    for (const char* secret : {"System.ini", "FieldsDefine.ini"})
        EXPECT_EQ(QFileInfo(data + secret).permissions() & 0x0077, 0) << secret;
    EXPECT_EQ(QFileInfo(dir.path() + "/data").permissions() & 0x0077, 0);
}

TEST(DataFolderSetup, NeverWritesOverAFileOfTheSellers) {
    TempFolder dir;
    const QString data = dir.path() + "/data/";
    dir.write("data/FieldsDefine.ini", "the seller's own");
    dir.write("data/System.ini", "[SYSTEM]\r\nYAHOO_ID=seller\r\n");
    // Asked for every file, it makes only the one that is missing.
    EXPECT_TRUE(zk::setup::makeFromDefaults(data, defaults(), zk::setup::requiredFiles(), {"a.test", "b.test"}, "/").isEmpty());
    EXPECT_EQ(dir.read("data/FieldsDefine.ini"), "the seller's own");
    EXPECT_EQ(dir.read("data/System.ini"), "[SYSTEM]\r\nYAHOO_ID=seller\r\n");
    EXPECT_TRUE(QFileInfo(data + "category.txt").isFile());
    // Defaults that are not there are named, and nothing half-made is left.
    const QString error = zk::setup::makeFromDefaults(dir.path() + "/other/", dir.path() + "/none/", {"System.ini"}, {}, "/");
    EXPECT_TRUE(error.contains(dir.path() + "/none/System.ini")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/other/System.ini"));
}

// System.ini is CP932, the workbook folder too: a Japanese folder reads back as it was chosen, and
// a folder that would come back as another one (or as "?") is refused with its characters before
// anything is made.
TEST(DataFolderSetup, WritesTheWorkbookFolderInCp932OrRefusesItByItsCharacters) {
    const struct {
        const char* folder;
        const char* refused; // the characters named; empty: written
    } cases[] = {
        {"/home/s/ドキュメント/", ""},
        {"/home/s/書類①/表/", ""},
        {"/home/s/写真♥/", "♥"},
        {"/home/s/22〜24/", "〜"}, // would come back as "～", another folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        TempFolder dir;
        const QString data = dir.path() + "/data/";
        const QString folder = QString::fromUtf8(c.folder);
        const QString error = zk::setup::makeFromDefaults(data, defaults(), zk::setup::requiredFiles(), {"a.test", "b.test"}, folder);
        if (*c.refused) {
            EXPECT_TRUE(error.contains(QString::fromUtf8(c.refused))) << error.toStdString();
            EXPECT_TRUE(error.contains(folder)) << error.toStdString();
            EXPECT_FALSE(QFileInfo::exists(data + "System.ini"));
            continue;
        }
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_TRUE(dir.read("data/System.ini").contains("EXCEL_DIR=" + zk::cp932::fromUnicode(folder) + "\r\n"));
        zk::ProfileFile ini(data + "System.ini");
        ASSERT_TRUE(ini.load());
        EXPECT_EQ(ini.readString("SYSTEM", "EXCEL_DIR"), folder);
    }
}

// The window scripted as the seller would answer it: a refused entry says why and the window stays
// for the next line.
TEST(SetupWindow, RefusesMissingOrWrongHostsThenMakesTheFolder) {
    struct Case {
        const char* what;
        QStringList answers;
        bool accepted;
        QStringList said;
    };
    const QList<Case> cases = {
        {"no hosts", {"SiteFolderButton", "OK", "Cancel"}, false, {QString::fromUtf8("オークションのホスト名を入力して下さい。")}},
        {"an address for a host",
         {"AuctionHost=https://a.test; LoginHost=b.test; SiteFolderButton", "OK", "Cancel"}, false,
         {QString::fromUtf8("オークションのホスト名「https://a.test」はホスト名ではありません（例：auctions.example.jp、ポート付きなら :8080 を後に）。")}},
        {"no login host, then both",
         {"AuctionHost=a.test; SiteFolderButton", "OK", "LoginHost=b.test:8443; SiteFolderButton"}, true,
         {QString::fromUtf8("ログインのホスト名を入力して下さい。")}},
        {"closed", {"Cancel"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        const QString data = dir.path() + "/data/";
        MessageService::instance().clearTranscript();
        MessageService::instance().setAnswers(c.answers);
        zk::SetupDialog dialog(data, zk::setup::inspect(data), defaults());
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Zerkonの初期設定"));
        EXPECT_EQ(MessageService::instance().exec(dialog) == QDialog::Accepted, c.accepted);
        EXPECT_EQ(shownTexts(), c.said);
        EXPECT_EQ(zk::setup::inspect(data).kind, c.accepted ? Kind::Ready : Kind::Empty);
        EXPECT_EQ(dialog.folder(), data);
    }
}

TEST(QtTexts, QtsOwnDialogsSpeakJapanese) {
    QString missing;
    ASSERT_TRUE(zk::loadQtTranslations(*QCoreApplication::instance(), &missing)) << missing.toStdString();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8("アドレス:"));
}
