// System.ini read once and written through: what start-up refuses, what the workflows read, and
// what the writers leave in the file.
#include "platform/ProfileFile.h"
#include "support/TempFolder.h"
#include "workflow/Settings.h"
#include "workflow/SystemIni.h"

#include <QFile>
#include <gtest/gtest.h>

using zk::ProfileFile;
using zk::test::TempFolder;
using zk::workflow::Settings;
namespace ini = zk::workflow::ini;

namespace {

QString completeSystem() {
    QString text = "[SYSTEM]\r\n";
    for (const QString& key : ini::RequiredSystemKeys) text += key + "=" + key.toLower() + "\r\n";
    return text + "YAHOO_ID=0000\r\nPASSWORD=0000\r\n";
}

class SettingsTest : public ::testing::Test {
protected:
    Settings settings() {
        Settings s;
        s.setDataFolder(dir.path() + "/");
        return s;
    }
    void write(const QString& text) { dir.writeCp932("System.ini", text); }
    ProfileFile file() {
        ProfileFile f(dir.file("System.ini"));
        EXPECT_TRUE(f.load());
        return f;
    }
    TempFolder dir;
};

} // namespace

TEST_F(SettingsTest, StartUpRefusalsInTheirOrder) {
    Settings s = settings();
    EXPECT_EQ(s.read(), Settings::Read::Missing);
    write("[OTHER]\r\nA=1\r\n");
    EXPECT_EQ(s.read(), Settings::Read::NoSystemSection);

    // An empty EXCEL_DIR, or none at all, is as bad as a missing address.
    write(QString(completeSystem()).replace("EXCEL_DIR=excel_dir", "EXCEL_DIR="));
    EXPECT_EQ(s.read(), Settings::Read::Incomplete);
    write(QString(completeSystem()).replace("EXCEL_DIR=excel_dir\r\n", ""));
    EXPECT_EQ(s.read(), Settings::Read::Incomplete);

    write(completeSystem());
    EXPECT_EQ(s.read(), Settings::Read::Ok);

    Settings nowhere;
    nowhere.setDataFolder({});
    EXPECT_TRUE(nowhere.systemIniPath().isEmpty());
    EXPECT_FALSE(nowhere.fileReadable());
}

TEST_F(SettingsTest, ValuesAreReadOnceAndKeysFoundWithoutRegardToCase) {
    write(QString(completeSystem()).replace("SHUPPIN_URL=", "shuppin_url=") +
          "[formInfo1]\r\nstart_price2=1200\r\nBUY_PRICE2=abc\r\n[SITE]\r\nLOGIN_HOST= login.example.test \r\n");
    Settings s = settings();
    ASSERT_EQ(s.read(), Settings::Read::Ok);
    EXPECT_EQ(s.value(ini::ShuppinUrl), "shuppin_url");
    EXPECT_EQ(s.savedPrices(), (std::array<int, 6>{0, 0, 1200, 0, 0, 0}));
    EXPECT_TRUE(s.accountMissing());
    EXPECT_FALSE(s.firstStart()) << "INIT_START holds init_start, not 0";

    EXPECT_EQ(s.loginHost(), "login.example.test");
    EXPECT_EQ(s.auctionHost(), ini::DefaultAuctionHost) << "the default where the file is silent";

    // Changes to the file after start-up do not reach the values read, the hosts among them,
    // except through the writers; only the workbook folder and the browser's sections follow
    // the file.
    ProfileFile f = file();
    f.writeString("SYSTEM", "SHUPPIN_URL", "changed");
    f.writeString("SYSTEM", "EXCEL_DIR", "/later/");
    f.writeString("SITE", "LOGIN_HOST", "elsewhere.test");
    f.writeString("SITE", "AUCTION_HOST", "elsewhere.test");
    f.writeString("BROWSER", "HEADLESS", "1");
    EXPECT_EQ(s.value(ini::ShuppinUrl), "shuppin_url");
    EXPECT_EQ(s.loginHost(), "login.example.test");
    EXPECT_EQ(s.auctionHost(), ini::DefaultAuctionHost);
    EXPECT_EQ(s.excelDir(), "/later/");
    EXPECT_EQ(s.file().readString("BROWSER", "HEADLESS"), "1");
}

TEST_F(SettingsTest, WritersWriteThroughAndKeepTheFileOwnerOnly) {
    write(completeSystem());
    Settings s = settings();
    ASSERT_EQ(s.read(), Settings::Read::Ok);

    ASSERT_TRUE(s.writeAccount("seller", "secret"));
    EXPECT_EQ(s.value(ini::YahooId), "seller");
    EXPECT_FALSE(s.accountMissing());
    EXPECT_EQ(file().readString("SYSTEM", "PASSWORD"), "secret");
    EXPECT_EQ(QFile::permissions(dir.file("System.ini")) & (QFile::ReadOther | QFile::ReadGroup), 0);

    ASSERT_TRUE(s.markFirstStartDone());
    EXPECT_EQ(file().readString("SYSTEM", "INIT_START"), "1");

    // A file without FormInfo1 gets the section with all six keys; empty edits are 0.
    ASSERT_TRUE(s.writePrices({"100", "", "", "900", "", ""}));
    EXPECT_EQ(file().keyNames("FormInfo1").size(), 6);
    EXPECT_EQ(file().readInteger("FormInfo1", "START_PRICE1", -1), 100);
    EXPECT_EQ(file().readInteger("FormInfo1", "BUY_PRICE2", -1), 900);
    EXPECT_EQ(file().readInteger("FormInfo1", "BUY_PRICE1", -1), 0);

    // A text that is no number stops the writing there.
    EXPECT_FALSE(s.writePrices({"5", "x", "7", "", "", ""}));
    EXPECT_EQ(file().readInteger("FormInfo1", "START_PRICE1", -1), 5);
    EXPECT_EQ(file().readInteger("FormInfo1", "START_PRICE2", -1), 0);

    s.writeExcelDir("/books/");
    EXPECT_EQ(s.excelDir(), "/books/");
}

TEST_F(SettingsTest, WritersRefuseAMissingFile) {
    Settings s = settings();
    EXPECT_FALSE(s.fileReadable());
    EXPECT_FALSE(s.writePrices({"1", "", "", "", "", ""}));
    EXPECT_FALSE(QFile::exists(dir.file("System.ini")));
}
