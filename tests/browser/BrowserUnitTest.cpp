// The parts of the browser layer that need no browser: variant conversions, the settings and
// the command line they give, the keyboard layout both ways, the private folders of a started
// browser, and the pipe transport (against a shell that stands at the browser's end).
#include "platform/AutomationError.h"
#include "platform/ProfileFile.h"
#include "platform/chromium/BrowserFolders.h"
#include "platform/chromium/BrowserSettings.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/chromium/ChromiumTexts.h"
#include "platform/KeyboardLayout.h"
#include "platform/chromium/PipeTransport.h"
#include "platform/chromium/Variant.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zk {
namespace {

uint32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const AutomationError& e) {
        return e.code();
    }
    return 0;
}

TEST(VariantTest, NullAndEmptyStayApart) {
    EXPECT_TRUE(Variant().isEmpty());
    EXPECT_FALSE(Variant().isNull());
    EXPECT_TRUE(Variant::null().isNull());
    EXPECT_FALSE(Variant::null().isEmpty());
    EXPECT_TRUE(Variant(std::shared_ptr<Dispatch>()).isNull()) << "no object is null";
    EXPECT_FALSE(Variant("").isNull());
    EXPECT_FALSE(Variant("").isEmpty());
}

TEST(VariantTest, ConversionsAsAVariantDoesThem) {
    EXPECT_EQ(Variant(3).toString(), QString("3"));
    EXPECT_EQ(Variant(2.5).toString(), QString("2.5"));
    EXPECT_EQ(Variant(7.0).toString(), QString("7"));
    EXPECT_EQ(Variant(true).toString(), QString("True"));
    EXPECT_EQ(Variant().toString(), QString());
    EXPECT_EQ(Variant::null().toString(), QString());
    EXPECT_TRUE(Variant("true").toBool());
    EXPECT_FALSE(Variant("False").toBool());
    EXPECT_TRUE(Variant("-1").toBool());
    EXPECT_FALSE(Variant(0).toBool());
    EXPECT_FALSE(Variant().toBool());
    EXPECT_EQ(Variant(" 42 ").toInt(), 42);
    EXPECT_EQ(Variant(2.6).toInt(), 3);
    EXPECT_EQ(Variant(2.5).toInt(), 2);
    EXPECT_EQ(Variant(3.5).toInt(), 4);
    EXPECT_EQ(Variant(1234567.25).toString(), QString("1234567.25"));
    EXPECT_EQ(Variant(true).toInt(), -1);
    EXPECT_EQ(errorOf([] { Variant("abc").toInt(); }), hresult::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("maybe").toBool(); }), hresult::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().toBool(); }), hresult::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant(1e12).toInt(); }), hresult::TypeMismatch);
}

class Recorder : public Dispatch {
public:
    Variant get(const QString& name) override { return "get:" + name; }
    void put(const QString& name, const Variant& v) override { last = name + "=" + v.toString(); }
    Variant call(const QString& name, const QVariantList& args) override {
        return QString("%1(%2)").arg(name).arg(args.size());
    }
    QString last;
};

TEST(VariantTest, LateBoundCallsNeedAnObject) {
    auto r = std::make_shared<Recorder>();
    const Variant v{std::shared_ptr<Dispatch>(r)};
    EXPECT_EQ(v.get("value").toString(), QString("get:value"));
    v.put("checked", true);
    EXPECT_EQ(r->last, QString("checked=True"));
    EXPECT_EQ(v.call("item", {1, "x"}).toString(), QString("item(2)"));
    EXPECT_EQ(errorOf([&] { v.toString(); }), hresult::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant().get("x"); }), hresult::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().call("item", {0}); }), hresult::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("text").put("x", 1); }), hresult::TypeMismatch);
}

TEST(BrowserSettingsTest, DefaultsWhereSystemIniIsSilent) {
    test::TempFolder folder;
    ProfileFile missing(folder.file("System.ini"));
    missing.load();
    const chromium::BrowserSettings s = chromium::BrowserSettings::read(missing, "/data/");
    EXPECT_EQ(s.program, QString("/usr/bin/chromium"));
    EXPECT_TRUE(s.debugEndpoint.isEmpty());
    EXPECT_EQ(s.headless, -1);
    EXPECT_EQ(s.profileFolder, QString("/data/Chromium")) << "in the data folder handed in";
    EXPECT_EQ(s.programName(), QString("CHROMIUM"));
}

TEST(BrowserSettingsTest, OwnSectionAndTheSitesRules) {
    test::TempFolder folder;
    const QString path = folder.writeCp932("System.ini",
                                           "[SYSTEM]\r\nYAHOO_ID=a\r\n[browser]\r\nprogram=/opt/b/Chromium-Browser\r\n"
                                           "ARGUMENTS=--lang=ja  --foo\r\nDEBUG_ENDPOINT= 127.0.0.1:9222 \r\nHEADLESS=0\r\n"
                                           "PROFILE=/tmp/p\r\n[SITE]\r\nHOST_RESOLVER_RULES=MAP *.sim.test 127.0.0.1\r\n"
                                           "CERT_SPKI=abc=\r\n");
    ProfileFile ini(path);
    ASSERT_TRUE(ini.load());
    const chromium::BrowserSettings s = chromium::BrowserSettings::read(ini, "/data/");
    EXPECT_EQ(s.program, QString("/opt/b/Chromium-Browser"));
    EXPECT_EQ(s.programName(), QString("CHROMIUM-BROWSER"));
    EXPECT_EQ(s.arguments, QStringList({"--lang=ja", "--foo"}));
    EXPECT_EQ(s.debugEndpoint, QString("127.0.0.1:9222"));
    EXPECT_FALSE(s.runHeadless());
    const QStringList args = s.launchArguments(false);
    EXPECT_TRUE(args.contains("--user-data-dir=/tmp/p/profile"));
    EXPECT_TRUE(args.contains("--remote-debugging-pipe"));
    EXPECT_FALSE(args.join(' ').contains("--remote-debugging-port")) << "a started browser opens no port";
    EXPECT_FALSE(args.contains("--no-sandbox")) << "the sandbox stays on for a user who is not root";
    EXPECT_TRUE(s.launchArguments(true).contains("--no-sandbox"));
    EXPECT_TRUE(args.contains("--disable-background-networking"));
    EXPECT_TRUE(args.contains("--host-resolver-rules=MAP *.sim.test 127.0.0.1"));
    EXPECT_TRUE(args.contains("--ignore-certificate-errors-spki-list=abc="));
    EXPECT_FALSE(args.contains("--ignore-certificate-errors")) << "only the site's own certificate is trusted";
    EXPECT_FALSE(args.contains("--headless"));
    EXPECT_EQ(args.last(), QString("about:blank"));
    EXPECT_TRUE(args.contains("--foo"));
}

TEST(BrowserSettingsTest, ADebuggingPortOrAddressInTheArgumentsIsRefusedWithTheReason) {
    struct Case {
        QStringList arguments;
        QString refused;
    };
    const QList<Case> cases = {
        {{"--lang=ja", "--remote-debugging-port=0"}, "--remote-debugging-port=0"},
        {{"--remote-debugging-port", "9222"}, "--remote-debugging-port"},
        {{"-remote-debugging-port=9222"}, "-remote-debugging-port=9222"},
        {{"--Remote-Debugging-Address=0.0.0.0"}, "--Remote-Debugging-Address=0.0.0.0"},
        {{"--remote-debugging-pipe", "--lang=ja"}, ""},
        {{"--remote-debugging-portal"}, ""},
    };
    for (const Case& c : cases) {
        chromium::BrowserSettings s;
        s.arguments = c.arguments;
        EXPECT_EQ(s.refusedArgument(), c.refused) << c.arguments.join(' ').toStdString();
    }
    chromium::BrowserSettings s;
    s.arguments = {"--remote-debugging-port=0"};
    QString error;
    EXPECT_EQ(chromium::ChromiumBrowser::launch(s, &error), nullptr);
    EXPECT_EQ(error, chromium::texts::DebugArgumentRefused.arg("--remote-debugging-port=0"));
}

TEST(BrowserSettingsTest, HeadlessWithoutADisplay) {
    chromium::BrowserSettings s;
    test::ScopedEnv display("DISPLAY", "");
    test::ScopedEnv wayland("WAYLAND_DISPLAY", "");
    EXPECT_TRUE(s.runHeadless());
    EXPECT_TRUE(s.launchArguments(false).contains("--headless"));
    test::ScopedEnv shown("DISPLAY", ":99");
    EXPECT_FALSE(s.runHeadless());
    s.headless = 1;
    EXPECT_TRUE(s.runHeadless());
}

TEST(KeyboardLayoutTest, EveryTypableCharacterComesBackFromItsKey) {
    int typable = 0;
    for (int c = 0x20; c < 0x7F; ++c) {
        const int scan = keyboard::keyScan(char(c));
        if (scan < 0) continue;
        ++typable;
        EXPECT_EQ(keyboard::textFor(scan & 0xFF, scan & 0x100, false), QString(QChar(c))) << char(c);
        EXPECT_FALSE(keyboard::codeFor(scan & 0xFF).isEmpty()) << char(c);
    }
    EXPECT_EQ(typable, 95 - 0) << "every printable ASCII character has a key on this layout";
}

TEST(KeyboardLayoutTest, CapsLockTurnsLettersOnly) {
    EXPECT_EQ(keyboard::textFor('A', false, true), QString("A"));
    EXPECT_EQ(keyboard::textFor('A', true, true), QString("a"));
    EXPECT_EQ(keyboard::textFor('1', false, true), QString("1"));
    EXPECT_EQ(keyboard::textFor('0', true, false), QString()) << "Shift+0 types nothing on this layout";
    EXPECT_EQ(keyboard::textFor(38, false, false), QString());
    EXPECT_EQ(keyboard::keyNameFor(38, false, false), QString("ArrowUp"));
    EXPECT_EQ(keyboard::keyNameFor(13, false, false), QString("Enter"));
    EXPECT_EQ(keyboard::keyNameFor(115, false, false), QString("F4"));
    EXPECT_EQ(keyboard::keyScan('\x82'), -1);
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

TEST(BrowserFoldersTest, FoldersAndSeededFilesAreTheUsersOwn) {
    test::TempFolder folder;
    const QString nested = folder.file("a/b/profile");
    ASSERT_TRUE(chromium::makeOwnerOnlyFolder(nested));
    EXPECT_EQ(modeOf(nested), 0700);
    // One an earlier version made readable by all is closed.
    QDir().mkpath(folder.file("old"));
    ::chmod(QFile::encodeName(folder.file("old")).constData(), 0755);
    ASSERT_TRUE(chromium::makeOwnerOnlyFolder(folder.file("old")));
    EXPECT_EQ(modeOf(folder.file("old")), 0700);

    const QString file = folder.write("old/Preferences", "stale and longer than the new text");
    ::chmod(QFile::encodeName(file).constData(), 0644);
    ASSERT_TRUE(chromium::writeOwnerOnlyFile(file, "{}"));
    EXPECT_EQ(modeOf(file), 0600);
    EXPECT_EQ(folder.read("old/Preferences"), QByteArray("{}"));
    EXPECT_FALSE(chromium::writeOwnerOnlyFile(folder.path() + "/missing/x", "{}"));
    EXPECT_FALSE(QFileInfo::exists(folder.path() + "/missing/x"));
}

TEST(BrowserFoldersTest, TempFolderIsShortPrivateAndGoesAway) {
    test::TempFolder runtime; // a short folder of ours, 0700, as a runtime folder is
    ASSERT_EQ(modeOf(runtime.path()), 0700);
    QString made;
    {
        chromium::BrowserTempFolder temp;
        ASSERT_TRUE(temp.create(runtime.path(), nullptr));
        made = temp.path();
        EXPECT_EQ(QFileInfo(made).absolutePath(), runtime.path());
        EXPECT_EQ(modeOf(made), 0700);
        EXPECT_LE(made.size(), chromium::BrowserTempFolder::MaxPathLength);
        QDir().mkpath(made + "/.org.chromium.Chromium.abc");
    }
    EXPECT_FALSE(QFileInfo::exists(made)) << "removed with its contents";

    // Too long for the browser's socket, someone else's, not there: a folder of its own in /tmp.
    const QString deep = runtime.file(QString(150 - runtime.path().size() - 1, 'd'));
    ASSERT_TRUE(QDir().mkpath(deep));
    ::chmod(QFile::encodeName(deep).constData(), 0700);
    const QString shared = runtime.file("shared");
    QDir().mkpath(shared);
    ::chmod(QFile::encodeName(shared).constData(), 0755);
    for (const QString& base : {deep, shared, QString(), QString("relative")}) {
        chromium::BrowserTempFolder temp;
        ASSERT_TRUE(temp.create(base, nullptr)) << qPrintable(base);
        EXPECT_TRUE(temp.path().startsWith("/tmp/")) << qPrintable(temp.path());
        EXPECT_EQ(modeOf(temp.path()), 0700);
        EXPECT_LE(temp.path().size(), chromium::BrowserTempFolder::MaxPathLength);
        made = temp.path();
        temp.remove();
        EXPECT_FALSE(QFileInfo::exists(made));
    }
}

// A shell at the browser's end of the pipes: "cat" sends every message straight back.
class PipeEnd {
public:
    PipeEnd(chromium::PipeTransport& pipe, const QString& script) {
        process.setChildProcessModifier([&pipe] { pipe.placeChildEnds(); });
        process.start("/bin/sh", {"-c", script});
        started = process.waitForStarted(5000);
        pipe.childStarted();
    }
    ~PipeEnd() {
        process.kill(); // our own child, by its pid
        process.waitForFinished(5000);
    }
    QProcess process;
    bool started = false;
};

bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST(PipeTransportTest, MessagesGoOutOnThreeAndComeBackOnFourWholeAndInOrder) {
    chromium::PipeTransport pipe;
    ASSERT_TRUE(pipe.valid());
    PipeEnd end(pipe, "exec cat <&3 >&4");
    ASSERT_TRUE(end.started);
    QList<QByteArray> received;
    bool closed = false;
    QObject::connect(&pipe, &chromium::DevToolsTransport::messageReceived, [&](const QByteArray& m) { received << m; });
    QObject::connect(&pipe, &chromium::DevToolsTransport::closed, [&] { closed = true; });
    // Larger than the pipe holds: it goes out in parts while the other end reads.
    const QByteArray big = "{\"text\":\"" + QByteArray(300000, 'x') + "\"}";
    pipe.sendMessage(R"({"id":1,"method":"日本語"})");
    pipe.sendMessage(big);
    pipe.sendMessage(R"({"id":3})");
    ASSERT_TRUE(pumpUntil([&] { return received.size() == 3; })) << received.size();
    EXPECT_EQ(received[0], QByteArray(R"({"id":1,"method":"日本語"})"));
    EXPECT_EQ(received[1], big);
    EXPECT_EQ(received[2], QByteArray(R"({"id":3})"));
    EXPECT_FALSE(closed);

    end.process.kill();
    end.process.waitForFinished(5000);
    EXPECT_TRUE(pumpUntil([&] { return closed; })) << "the end of the stream is a lost browser";
    EXPECT_FALSE(pipe.isOpen());
}

TEST(PipeTransportTest, WritingToAGoneReaderIsALostBrowserNotASignal) {
    // Whatever the program does with SIGPIPE, the transport must not depend on it.
    const auto previous = std::signal(SIGPIPE, SIG_DFL);
    {
        chromium::PipeTransport pipe;
        ASSERT_TRUE(pipe.valid());
        // The reading end goes while the writing end stays: only the write can tell.
        PipeEnd end(pipe, "exec 3<&-; sleep 10");
        ASSERT_TRUE(end.started);
        bool closed = false;
        QObject::connect(&pipe, &chromium::DevToolsTransport::closed, [&] { closed = true; });
        for (int i = 0; i < 100 && !closed; ++i) {
            pipe.sendMessage(R"({"id":1})");
            if (!closed) QThread::msleep(20);
        }
        EXPECT_TRUE(closed);
        EXPECT_FALSE(pipe.isOpen());
        pipe.sendMessage(R"({"id":2})"); // closed: nothing happens
    }
    std::signal(SIGPIPE, previous);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE)) << "no signal left behind";
}

} // namespace
} // namespace zk
