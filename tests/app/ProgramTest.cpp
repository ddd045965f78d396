// The program as a process: its first window on a fresh data folder, one instance per user, a
// start-up that stops with its message and a failure's exit code, and the command line's
// answers. ZERKON_PROGRAM runs them on another tree's program (the installed package's).
#include "platform/ProfileFile.h"
#include "support/OtherUser.h"
#include "support/TempFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <csignal>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using zk::test::TempFolder;

namespace {

QString program() {
    const QString other = qEnvironmentVariable("ZERKON_PROGRAM");
    return other.isEmpty() ? qEnvironmentVariable("ZERKON_BUILD_DIR") + "/zerkon" : other;
}

class Program {
public:
    // `dataDir`: ZERKON_DATA_DIR is set (else the program finds its folder in the home folder).
    explicit Program(const TempFolder& dir, QProcessEnvironment env = QProcessEnvironment::systemEnvironment(),
                     bool dataDir = true) {
        if (dataDir) env.insert("ZERKON_DATA_DIR", dir.path() + "/data");
        env.insert("ZERKON_REGISTRY_FILE", dir.path() + "/registry.ini");
        env.insert("ZERKON_ANSWERS", dir.path() + "/answers.txt");
        env.insert("ZERKON_TRANSCRIPT", dir.path() + "/transcript.jsonl");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process_.setProcessEnvironment(env);
        process_.setProgram(program());
    }
    ~Program() {
        if (process_.state() == QProcess::NotRunning) return;
        // Our own child, by its pid: asked first, so that it quits the browser it started.
        process_.terminate();
        if (!process_.waitForFinished(15000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

void writeData(const TempFolder& dir, bool withExcelDir) {
    dir.write("answers.txt", "");
    dir.writeCp932("data/FieldsDefine.ini",
                   "[SYSTEM]\r\nSECTION_NUM=0\r\nSHOUHIN_TITLE=Title\r\nSHOUHIN_SETUMEI=Description\r\n"
                   "KAISI_PRICE_SEC_POS=1\r\nKAISI_PRICE_ITEM_POS=1\r\nKIBOU_PRICE_SEC_POS=1\r\nKIBOU_PRICE_ITEM_POS=2\r\n"
                   "BANK_NAME_NUM=0\r\nSONOTA_KESSAI_NUM=0\r\nBANK_DEFAULT_NUM=0\r\nKESSAI_DEFAULT_NUM=0\r\n");
    QString ini = "[SYSTEM]\r\n";
    for (const char* key : {"LOGIN_URL", "SHUPPIN_URL", "RESHUPPIN_URL", "SHUPPIN_END_URL", "RAKUSATUNASHI_PAGE",
                            "RESHUPPIN_STR", "SHUPPINZUMI_MSG", "SHUPPIN_CHUU_URL", "PIC_UPLOAD_URL"})
        ini += QString(key) + "=x\r\n";
    ini += "INIT_START=1\r\nYAHOO_ID=a\r\nPASSWORD=b\r\n";
    if (withExcelDir) ini += "EXCEL_DIR=/tmp\r\n";
    ini += "[BROWSER]\r\nHEADLESS=1\r\nPROFILE=" + dir.path() + "/profile\r\n";
    dir.writeCp932("data/System.ini", ini);
    dir.writeCp932("data/category.txt", "本・雑誌\r\n\t文学・小説 ^/2100100101\r\n");
}

QList<QJsonObject> transcript(const TempFolder& dir) {
    QList<QJsonObject> entries;
    for (const QByteArray& line : dir.read("transcript.jsonl").split('\n'))
        if (!line.isEmpty()) entries << QJsonDocument::fromJson(line).object();
    return entries;
}

} // namespace

TEST(Program, StartsOffscreenOnAFreshDataFolderAndReachesItsFirstWindow) {
    TempFolder dir;
    writeData(dir, true);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZERKON_SCREENSHOT", dir.file("first.png"));
    env.insert("ZERKON_SCREENSHOT_DELAY", "0");
    env.insert("ZERKON_QUIT_AFTER_SCREENSHOT", "1");
    Program p(dir, env);
    p.process().start();
    ASSERT_TRUE(p.process().waitForFinished(60000)) << "no first window within a minute";
    const QString output = QString::fromUtf8(p.process().readAllStandardError());
    EXPECT_EQ(p.process().exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(p.process().exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(transcript(dir).isEmpty()) << dir.read("transcript.jsonl").toStdString();
    // Both pages drawn from the pictures of the program folder, with its libraries loaded.
    for (const char* page : {"first-main-page.png", "first-sub-page.png"})
        EXPECT_FALSE(QImage(dir.file(page)).isNull()) << page;
}

TEST(Program, AnswersVersionAndHelpWithoutADisplayOrAnythingElse) {
    TempFolder dir;
    // No display and no platform plugin asked for: a window could not open.
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", dir.path());
    const QString data = dir.path() + "/not-yet";
    env.insert("ZERKON_DATA_DIR", data);
    for (const QString& question : {QStringLiteral("--version"), QStringLiteral("--help")}) {
        SCOPED_TRACE(question.toStdString());
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program(), {question});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(p.readAllStandardError().isEmpty());
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.first().startsWith("Zerkon 1.")) << lines.first().toStdString();
        if (question == "--version") {
            EXPECT_EQ(lines.size(), 2); // one line and its end
        } else {
            EXPECT_LE(lines.size(), 25) << "more than one screen";
            EXPECT_TRUE(lines.contains(QString::fromUtf8("データフォルダ: ") + data + "/"));
        }
    }
    EXPECT_FALSE(QFileInfo::exists(data)) << "a question made the data folder";
}

TEST(Program, SecondStartBringsTheFirstToTheFrontAndExitsWithoutAWindow) {
    TempFolder dir;
    writeData(dir, true);
    Program first(dir);
    first.process().start();
    ASSERT_TRUE(first.process().waitForStarted(5000));
    ASSERT_FALSE(first.process().waitForFinished(2000)) << first.process().readAllStandardError().toStdString();
    // A write into the pipe of a dead office or browser must not end the program.
    ::kill(pid_t(first.process().processId()), SIGPIPE);
    EXPECT_FALSE(first.process().waitForFinished(500)) << "SIGPIPE ended the program";

    const int shownBefore = int(transcript(dir).size());
    Program second(dir);
    second.process().start();
    ASSERT_TRUE(second.process().waitForFinished(10000));
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_EQ(first.process().state(), QProcess::Running);
    EXPECT_EQ(transcript(dir).size(), shownBefore);

    // Asked to end, the first closes as the seller would: the saved prices are written.
    first.process().terminate();
    ASSERT_TRUE(first.process().waitForFinished(20000));
    zk::ProfileFile ini(dir.path() + "/data/System.ini");
    ini.load();
    EXPECT_EQ(ini.keyNames("FormInfo1").size(), 6);
}

// Another user of the machine made the folder the lock would go in and put a lock and a
// socket answering "raised" under the names a start would use: the start passes the folder over
// and runs.
TEST(Program, ALockAndSocketAnotherUserPreparedDoNotKeepItFromStarting) {
    QString why;
    if (!zk::test::otherUserAvailable(&why)) GTEST_SKIP() << why.toStdString();
    TempFolder dir;
    writeData(dir, true);
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    const QString squatted = dir.path() + "/run";
    QDir().mkpath(squatted);
    QFile::setPermissions(squatted, QFileDevice::Permissions(0x7777));
    ASSERT_TRUE(zk::test::giveToOtherUser(squatted));
    const QString scope =
        QCryptographicHash::hash((dir.path() + "/data/").toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    // In the folder it made, and under the predictable names in the shared temporary folder.
    const QStringList names = {squatted + "/Zerkon-" + scope, QStringLiteral("/tmp/Zerkon-%1-%2").arg(::getuid()).arg(scope)};
    struct Cleanup {
        QStringList names;
        ~Cleanup() {
            for (const QString& name : names) QFile::remove(name + ".lock");
        }
    } cleanup{names};
    std::vector<std::unique_ptr<zk::test::ForeignListener>> listeners;
    for (const QString& name : names) {
        QFile lock(name + ".lock");
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("1\nzerkon\nhost\n");
        lock.close();
        ASSERT_TRUE(zk::test::giveToOtherUser(name + ".lock"));
        listeners.push_back(std::make_unique<zk::test::ForeignListener>(name + ".sock", "raised\n"));
        ASSERT_TRUE(listeners.back()->listening());
    }

    Program p(dir);
    QProcessEnvironment env = p.process().processEnvironment();
    env.insert("XDG_RUNTIME_DIR", squatted);
    p.process().setProcessEnvironment(env);
    p.process().start();
    ASSERT_TRUE(p.process().waitForStarted(5000));
    EXPECT_FALSE(p.process().waitForFinished(3000)) << p.process().readAllStandardError().toStdString();
    EXPECT_TRUE(transcript(dir).isEmpty());
}

TEST(Program, MissingExcelDirStopsTheStartWithItsMessage) {
    TempFolder dir;
    writeData(dir, false);
    Program p(dir);
    p.process().start();
    ASSERT_TRUE(p.process().waitForFinished(15000));
    EXPECT_NE(p.process().exitCode(), 0);
    const auto entries = transcript(dir);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0]["text"].toString(), QString::fromUtf8("SYSTEM.INIが正しく設定されていません。"));
}

TEST(Program, EveryStartThatStopsOnASettingsFileEndsWithAFailure) {
    struct Case { const char* what; QString file, text, message; };
    const QList<Case> cases = {
        {"no SYSTEM section", "System.ini", "[OTHER]\r\nA=1\r\n",
         QString::fromUtf8("SYSTEM.INIのSYSTEMセクションが定義されていません。\n終了します。")},
        {"absurd section count", "FieldsDefine.ini", "[SYSTEM]\r\nSECTION_NUM=2147483647\r\n",
         QString::fromUtf8("FieldsDefine.iniのSECTION[SYSTEM]のKEY[SECTION_NUM]の値が大きすぎます（2147483647、上限 200）。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        writeData(dir, true);
        if (c.text.isEmpty()) QFile::remove(dir.file("data/" + c.file));
        else dir.writeCp932("data/" + c.file, c.text);
        Program p(dir);
        p.process().start();
        ASSERT_TRUE(p.process().waitForFinished(15000));
        EXPECT_EQ(p.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.process().exitCode(), 1);
        const auto entries = transcript(dir);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0]["text"].toString(), c.message);
    }
}

// A data folder another user made open to all, with a journal planted in it: the start is refused
// with the folder's path and the reason before anything in it is read or changed. The seller's
// own folder left open is made private and the start goes on.
TEST(Program, ADataFolderThatIsNotTheSellersAloneIsRefusedWithItsPathAndReason) {
    QString why;
    const bool otherUser = zk::test::otherUserAvailable(&why);
    struct Case {
        const char* what;
        bool other;
        int exitCode;
        QStringList saying; // what the one message holds
        int after;          // the folder's mode afterwards
    };
    const QList<Case> cases = {
        {"another user's, 0777", true, 1,
         {QString::fromUtf8("データフォルダ "), QString::fromUtf8("は使えません"), QString::fromUtf8("別のユーザー"),
          QString::number(zk::test::otherUid())},
         0777},
        // Stops at System.ini (no EXCEL_DIR), past the folder's check.
        {"own, 0777", false, 1, {QString::fromUtf8("SYSTEM.INIが正しく設定されていません。")}, 0700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.other && !otherUser) {
            std::cout << "[  SKIPPED ] " << c.what << ": " << why.toStdString() << "\n";
            continue;
        }
        TempFolder dir;
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
        writeData(dir, false);
        const QString data = dir.path() + "/data";
        const QByteArray planted = R"({"unsaved":[{"stage":"listed","row":3,"auctionId":"planted1"}],"known":["planted1"]})";
        dir.write("data/ListingJournal.json", planted);
        if (c.other) {
            for (const QString& file : QDir(data).entryList(QDir::Files)) ASSERT_TRUE(zk::test::giveToOtherUser(data + "/" + file));
            ASSERT_TRUE(zk::test::giveToOtherUser(data));
        }
        QFile::setPermissions(data, QFileDevice::Permissions(0x7777));
        const auto systemIniBefore = QFileInfo(data + "/System.ini").permissions();

        Program p(dir);
        p.process().start();
        ASSERT_TRUE(p.process().waitForFinished(15000));
        EXPECT_EQ(p.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.process().exitCode(), c.exitCode);
        const auto entries = transcript(dir);
        ASSERT_EQ(entries.size(), 1) << dir.read("transcript.jsonl").toStdString();
        const QString text = entries[0]["text"].toString();
        for (const QString& part : c.saying) EXPECT_TRUE(text.contains(part)) << text.toStdString();
        if (c.other) {
            EXPECT_TRUE(text.contains(data + "/")) << text.toStdString();
            // Nothing in the folder was touched.
            EXPECT_EQ(QFileInfo(data + "/System.ini").permissions(), systemIniBefore);
            EXPECT_EQ(dir.read("data/ListingJournal.json"), planted);
        }
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(data).constData(), &st), 0);
        EXPECT_EQ(int(st.st_mode & 07777), c.after);
    }
}

// A start whose data folder lacks what the start-up needs opens the setup window instead of a
// fatal box; what it was told to do decides what is made, and a seller's file is never replaced.
TEST(Program, AStartWithoutAUsableDataFolderSetsItselfUp) {
    const QString setupCaption = QString::fromUtf8("Zerkonの初期設定");
    struct Case {
        const char* what;
        QStringList remove;       // files of a whole folder taken away first ("*": the folder)
        QString answers;
        int exitCode;
        QStringList expectedFiles; // in the data folder afterwards
        QString firstNotSetup;     // the text of the first box after the setup window, if any
    };
    const QList<Case> cases = {
        {"no System.ini, window closed", {"System.ini"}, "", 1, {"FieldsDefine.ini", "category.txt"}, {}},
        {"no FieldsDefine.ini, restored", {"FieldsDefine.ini"}, "RestoreButton\n", 0,
         {"System.ini", "FieldsDefine.ini", "category.txt"}, {}},
        {"no System.ini, restored without hosts, then with", {"System.ini"},
         "RestoreButton\nOK\nAuctionHost=auctions.example.test; LoginHost=login.example.test:8443; RestoreButton\n", 0,
         {"System.ini", "FieldsDefine.ini", "category.txt"}, QString::fromUtf8("オークションのホスト名を入力して下さい。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        writeData(dir, true);
        const QByteArray fieldsBefore = dir.read("data/FieldsDefine.ini");
        for (const QString& name : c.remove) QFile::remove(dir.file("data/" + name));
        dir.write("answers.txt", c.answers.toUtf8());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZERKON_SCREENSHOT", dir.file("shot.png"));
        env.insert("ZERKON_SCREENSHOT_DELAY", "0");
        env.insert("ZERKON_QUIT_AFTER_SCREENSHOT", "1");
        env.insert("ZERKON_BROWSER_CALL_TIMEOUT_MS", "5000");
        Program p(dir, env);
        p.process().start();
        ASSERT_TRUE(p.process().waitForFinished(90000));
        EXPECT_EQ(p.process().exitCode(), c.exitCode) << p.process().readAllStandardError().toStdString();
        const auto entries = transcript(dir);
        ASSERT_FALSE(entries.isEmpty());
        EXPECT_EQ(entries[0]["caption"].toString(), setupCaption);
        for (const QJsonObject& e : entries)
            EXPECT_FALSE(e["text"].toString().contains(QString::fromUtf8("がありません。"))) << e["text"].toString().toStdString();
        if (!c.firstNotSetup.isEmpty()) {
            ASSERT_GE(entries.size(), 2);
            EXPECT_EQ(entries[1]["text"].toString(), c.firstNotSetup);
        }
        QStringList present;
        for (const QString& name : {"System.ini", "FieldsDefine.ini", "category.txt"})
            if (QFileInfo::exists(dir.file("data/" + name))) present << name;
        EXPECT_EQ(present, c.expectedFiles);
        // The seller's FieldsDefine.ini stays as it was wherever it was there.
        if (!c.remove.contains("FieldsDefine.ini")) EXPECT_EQ(dir.read("data/FieldsDefine.ini"), fieldsBefore);
    }
}

// A required file that is there but cannot be read is not made again: the start stops with the
// fatal error naming it.
TEST(Program, ARequiredFileThatCannotBeReadStopsTheStartWithItsPath) {
    TempFolder dir;
    writeData(dir, true);
    QFile::remove(dir.file("data/FieldsDefine.ini"));
    ASSERT_TRUE(QDir().mkpath(dir.file("data/FieldsDefine.ini")));
    Program p(dir);
    p.process().start();
    ASSERT_TRUE(p.process().waitForFinished(15000));
    EXPECT_EQ(p.process().exitCode(), 1);
    const auto entries = transcript(dir);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0]["text"].toString(),
              QString::fromUtf8("フィールド定義ファイルのオープンに失敗しました。\n") + dir.path() + "/data/FieldsDefine.ini");
}

// The first start of a new account with the practice folder chosen: no file made by hand, the
// panel logged in on the practice site that Zerkon started, and the site ended with Zerkon. The
// next start finds the folder and starts the site again without asking.
TEST(Program, AFreshHomeWithThePracticeFolderChosenReachesALoggedInPanel) {
    TempFolder dir;
    const QString home = dir.path() + "/home";
    ASSERT_TRUE(QDir().mkpath(home));
    dir.write("answers.txt", "PracticeFolderButton\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "ZERKON_DATA_DIR"}) env.remove(name);
    env.insert("HOME", home);
    env.insert("ZERKON_SCREENSHOT", dir.file("shot.png"));
    env.insert("ZERKON_SCREENSHOT_DELAY", "0");
    env.insert("ZERKON_QUIT_AFTER_SCREENSHOT", "1");
    const QString data = home + "/.local/share/Zerkon/";
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        QFile::remove(dir.file("transcript.jsonl"));
        Program p(dir, env, false);
        p.process().start();
        ASSERT_TRUE(p.process().waitForFinished(120000));
        EXPECT_EQ(p.process().exitCode(), 0) << p.process().readAllStandardError().toStdString();
        const auto entries = transcript(dir);
        // Only the setup window, and only the first time: no login failure, no missing file.
        ASSERT_EQ(entries.size(), start == 1 ? 1 : 0) << dir.read("transcript.jsonl").toStdString();
        if (start == 1) EXPECT_EQ(entries[0]["caption"].toString(), QString::fromUtf8("Zerkonの初期設定"));
        zk::ProfileFile ini(data + "System.ini");
        ASSERT_TRUE(ini.load());
        EXPECT_EQ(ini.readString("SITE", "PRACTICE"), "1");
        EXPECT_EQ(ini.readString("SYSTEM", "YAHOO_ID"), "zerkon_seller");
        // The site Zerkon started ended with it: its state file is gone.
        EXPECT_FALSE(QFileInfo::exists(data + "practice/site.json"));
        EXPECT_FALSE(QImage(dir.file("shot-sub-page.png")).isNull());
    }
}
