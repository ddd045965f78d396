// The browser session's life: the file chooser, a killed browser, a crashed page, attaching to
// a running Chromium, quitting; what a started browser exposes (no port, private folders) and
// where it can live (a long data folder path). Each test starts (and ends) its own browser.
#include "BrowserFixture.h"

#include "platform/KeySender.h"
#include "platform/AutomationError.h"
#include "platform/MessageService.h"
#include "platform/Processes.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/chromium/ChromiumTexts.h"
#include "platform/chromium/FileChooserWindow.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QTcpServer>
#include <QThread>

#include <csignal>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk::test {
namespace {

const QString kChooserTitle = QStringLiteral("アップロードするファイルの選択");

const QByteArray kUploadPage = R"(<html><head><title>upload</title></head><body>
<form method="post" enctype="multipart/form-data" action="/posted">
<input type="file" name="ImageFile1"><input type="file" name="ImageFile2"></form>
<form><input type="submit" value="戻る"></form></body></html>)";

void pause(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

// Processes whose command line names the folder.
int processesUsing(const QString& folder) {
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (pid.toLongLong() > 0 && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(folder.toLocal8Bit()))
            ++count;
    }
    return count;
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        server_.setPage("/upload", kUploadPage);
        server_.setPage("/posted", "<html><head><title>posted</title></head><body>ok</body></html>");
        server_.setPage("/a", "<html><head><title>A</title></head><body>a</body></html>");
        server_.setPage("/b", "<html><head><title>B</title></head><body>b</body></html>");
    }
    void TearDown() override { makeRemovable(folder_.path()); }
    // A browser started the program's way, with the document fetched.
    WindowHandle start(TIECtrl& ie) {
        ie.setSettings(headlessSettings(folder_.file("profile")));
        const WindowHandle w = ie.FindOrLaunch();
        if (w) ie.GetDocument();
        return w;
    }
    // Opens the chooser of file input k the way the upload does.
    void openChooser(TIECtrl& ie, WindowHandle w, int k) {
        KeySender keys;
        ASSERT_TRUE(Desktop::instance().setForeground(TIECtrl::WindowOf(w)));
        ASSERT_EQ(ie.SetFormImeMode(0, QString("ImageFile%1").arg(k), false), 0);
        ASSERT_EQ(ie.FocusFormItem(0, QString("ImageFile%1").arg(k)), 0);
        keys.SendKeys("{TAB}");
        keys.SendKeys(" ");
        int polls = 0;
        while (!ie.IsBusy() && polls++ < 62) pause(50);
        ASSERT_EQ(ie.IsBusy(), 1) << "the open chooser keeps the browser busy";
    }

    TempFolder folder_;
    PageServer server_;
};

TEST_F(SessionTest, FileChooserRoundTripUpToTheUpload) {
    TIECtrl ie;
    const WindowHandle w = start(ie);
    ASSERT_NE(w, 0u);
    ASSERT_EQ(ie.NavigateWait(server_.url("/upload")), 0);
    const QString picture = folder_.write("pictures/写真 1.jpg", QByteArray("\xFF\xD8\xFF\xE0JPEGDATA-12345", 18));
    openChooser(ie, w, 2);
    DesktopWindow* chooser = Desktop::instance().findByTitle(kChooserTitle);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(Desktop::instance().foreground(), chooser);

    KeySender keys;
    QGuiApplication::clipboard()->setText(picture);
    ASSERT_TRUE(Desktop::instance().setForeground(chooser));
    keys.SendKeys("^v{ENTER}");
    EXPECT_EQ(Desktop::instance().findByTitle(kChooserTitle), nullptr) << "Enter chose the file and closed it";
    EXPECT_EQ(Desktop::instance().foreground(), TIECtrl::WindowOf(w));
    keys.SendKeys("%N^c");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), picture);
    EXPECT_EQ(ie.IsBusy(), 0);
    EXPECT_TRUE(ie.GetFormValue(0, "ImageFile2").endsWith("写真 1.jpg"));
    EXPECT_EQ(ie.GetFormValue(0, "ImageFile1"), QString()) << "Tab from the text part reaches its own button";

    ASSERT_EQ(ie.SubmitForm(0, 0), 0);
    ASSERT_FALSE(server_.posts().isEmpty());
    const QByteArray post = server_.posts().last();
    EXPECT_TRUE(post.contains("name=\"ImageFile2\"; filename=\"")) << post.left(400).constData();
    EXPECT_TRUE(post.contains(QByteArray("\xFF\xD8\xFF\xE0JPEGDATA-12345", 18)));
    ie.Quit();
}

TEST_F(SessionTest, FileChooserKeepsAWrongNameAndCancels) {
    TIECtrl ie;
    const WindowHandle w = start(ie);
    ASSERT_NE(w, 0u);
    ASSERT_EQ(ie.NavigateWait(server_.url("/upload")), 0);
    openChooser(ie, w, 1);
    DesktopWindow* chooser = Desktop::instance().findByTitle(kChooserTitle);
    ASSERT_NE(chooser, nullptr);
    KeySender keys;
    QGuiApplication::clipboard()->setText("before");
    keys.SendKeys("nofile.jpg~");
    ASSERT_EQ(Desktop::instance().findByTitle(kChooserTitle), chooser) << "no such file: the chooser stays";
    EXPECT_EQ(ie.IsBusy(), 1);
    keys.SendKeys("%N^c");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("nofile.jpg"));
    keys.SendKeys("{BS 3}png{ESC}");
    EXPECT_EQ(Desktop::instance().findByTitle(kChooserTitle), nullptr);
    EXPECT_EQ(ie.IsBusy(), 0);
    EXPECT_EQ(ie.GetFormValue(0, "ImageFile1"), QString());
    ie.Quit();
}

TEST_F(SessionTest, KilledBrowserGivesTheDisconnectionCodes) {
    TIECtrl ie;
    const WindowHandle w = start(ie);
    ASSERT_NE(w, 0u);
    ASSERT_EQ(ie.NavigateWait(server_.url("/a")), 0);
    const qint64 pid = ie.session()->processId();
    ASSERT_GT(pid, 1);
    ::kill(pid_t(pid), SIGKILL);
    pause(300);
    EXPECT_EQ(ie.NavigateWait(server_.url("/b")), -99);
    EXPECT_TRUE(uint32_t(ie.LastError) == hresult::Disconnected || uint32_t(ie.LastError) == hresult::ServerUnavailable)
        << std::hex << ie.LastError;
    EXPECT_FALSE(ie.LastErrorText.isEmpty());
    EXPECT_EQ(ie.ExistsByName("x"), 0);
    EXPECT_TRUE(AutomationError(uint32_t(ie.LastError), {}).isDisconnection());
    EXPECT_EQ(ie.GetTitle(), QString());
    EXPECT_THROW(ie.WaitIdle(5), AutomationError) << "a plain wait lets the error through";
    EXPECT_EQ(TIECtrl::WindowOf(w)->title(), QString());
    ie.Quit();
    EXPECT_TRUE(ie.Browser.isEmpty());
}

// A browser that stops answering (SIGSTOP) is noticed within the answer bound, whether a
// command is waiting or only a wait on the browser's busy state (the open file chooser of an
// upload): it is ended by its own pid and reported as lost, never waited for in silence.
TEST_F(SessionTest, AStoppedBrowserIsEndedWithinTheBoundAndReportedAsLost) {
    zk::test::ScopedEnv bound("ZERKON_BROWSER_CALL_TIMEOUT_MS", "3000");
    for (const bool chooserOpen : {false, true}) {
        SCOPED_TRACE(chooserOpen ? "waiting while the file chooser is open" : "a command waiting");
        TIECtrl ie;
        const WindowHandle w = start(ie);
        ASSERT_NE(w, 0u);
        ASSERT_EQ(ie.NavigateWait(server_.url("/upload")), 0);
        if (chooserOpen) {
            ASSERT_NO_FATAL_FAILURE(openChooser(ie, w, 1));
        }
        const qint64 pid = ie.session()->processId();
        ASSERT_GT(pid, 1);
        ::kill(pid_t(pid), SIGSTOP);
        QElapsedTimer took;
        took.start();
        if (chooserOpen) {
            try {
                ie.WaitIdle(120);
                ADD_FAILURE() << "the wait ended without the lost browser";
            } catch (const AutomationError& e) {
                EXPECT_TRUE(e.isDisconnection());
            }
        } else {
            EXPECT_EQ(ie.NavigateWait(server_.url("/b")), -99);
            EXPECT_TRUE(AutomationError(uint32_t(ie.LastError), {}).isDisconnection()) << std::hex << ie.LastError;
        }
        EXPECT_LT(took.elapsed(), 10000);
        EXPECT_FALSE(ie.IsConnected());
        // Ended by the session: gone, or a zombie its QProcess has not reaped yet.
        QThread::msleep(200);
        QFile stat(QString("/proc/%1/stat").arg(pid));
        const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
        const char state = line.isEmpty() ? 0 : line.mid(line.lastIndexOf(')') + 2, 1).at(0);
        EXPECT_TRUE(state == 0 || state == 'Z') << "state " << state;
        if (state == 'T') {
            ::kill(pid_t(pid), SIGCONT); // our own child, left stopped by this test
            ::kill(pid_t(pid), SIGKILL);
        }
        ie.Quit();
    }
}

TEST_F(SessionTest, CrashedPageGivesAnErrorAndANavigationBringsItBack) {
    TIECtrl ie;
    ASSERT_NE(start(ie), 0u);
    ASSERT_EQ(ie.NavigateWait(server_.url("/a")), 0);
    try {
        ie.session()->pageCall("Page.crash");
    } catch (const AutomationError&) {
        // The crash may end the call itself.
    }
    pause(300);
    EXPECT_EQ(ie.ExistsByName("x"), 0);
    EXPECT_EQ(uint32_t(ie.LastError), hresult::ServerUnavailable);
    EXPECT_EQ(ie.NavigateWait(server_.url("/b")), 0);
    EXPECT_EQ(ie.GetTitle(), QString("B"));
    ie.Quit();
}

TEST_F(SessionTest, QuitEndsTheStartedBrowser) {
    TIECtrl ie;
    const WindowHandle w = start(ie);
    ASSERT_NE(w, 0u);
    const qint64 pid = ie.session()->processId();
    ie.Quit();
    EXPECT_TRUE(ie.Browser.isEmpty());
    EXPECT_TRUE(ie.Document.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QString("/proc/%1/exe").arg(pid)));
    EXPECT_EQ(TIECtrl::WindowOf(w), nullptr);
    ie.Quit(); // twice is harmless
}

QString environmentOf(qint64 pid, const QByteArray& name) {
    QFile f(QString("/proc/%1/environ").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& entry : f.readAll().split('\0'))
        if (entry.startsWith(name + "=")) return QFile::decodeName(entry.mid(name.size() + 1));
    return {};
}

TEST_F(SessionTest, TheStartedBrowserEndsWithTheProgramEvenWhenItIsKilled) {
    QProcess probe;
    probe.start(QString(qgetenv("ZERKON_BUILD_DIR")) + "/browser_launch_probe", {folder_.file("probe")});
    ASSERT_TRUE(probe.waitForStarted(10000));
    QByteArray line;
    for (int i = 0; i < 300 && !line.contains('\n'); ++i) {
        probe.waitForReadyRead(100);
        line += probe.readAllStandardOutput();
    }
    const qint64 browserPid = line.trimmed().toLongLong();
    ASSERT_GT(browserPid, 1) << line.constData();
    EXPECT_TRUE(QFileInfo::exists(QString("/proc/%1/exe").arg(browserPid)));
    // A killed program cannot remove the browser's temporary folder: the test does.
    const QString temp = environmentOf(browserPid, "TMPDIR");
    probe.kill(); // our own child, by its pid
    probe.waitForFinished(5000);
    bool gone = false;
    for (int i = 0; i < 100 && !(gone = !QFileInfo::exists(QString("/proc/%1/exe").arg(browserPid))); ++i) pause(50);
    EXPECT_TRUE(gone) << "the browser outlived the program that started it";
    // Its helper processes follow; the folder goes once they have.
    for (int i = 0; i < 100 && processesUsing(folder_.file("probe")) > 0; ++i) pause(50);
    EXPECT_EQ(processesUsing(folder_.file("probe")), 0);
    if (QFileInfo(temp).fileName().startsWith("zerkon-")) QDir(temp).removeRecursively();
}

// The process and every process below it.
QList<qint64> processTree(qint64 root) {
    QMultiHash<qint64, qint64> children;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat("/proc/" + pid + "/stat");
        if (pid.toLongLong() <= 0 || !stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        // pid (comm) state ppid ...: the name may hold spaces, so count from its closing parenthesis.
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1) children.insert(rest[1].toLongLong(), pid.toLongLong());
    }
    QList<qint64> tree{root};
    for (int i = 0; i < tree.size(); ++i) tree += children.values(tree[i]);
    return tree;
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

TEST_F(SessionTest, TheStartedBrowserListensOnNoPortAtAll) {
    TIECtrl ie;
    ASSERT_NE(start(ie), 0u);
    ASSERT_EQ(ie.NavigateWait(server_.url("/a")), 0); // renderers up too
    const qint64 pid = ie.session()->processId();
    const QList<qint64> tree = processTree(pid);
    EXPECT_GT(tree.size(), 1) << "the browser's helpers are counted too";
    const QSet<QByteArray> listening = processes::listeningTcpSockets();
    // The look-up that finds no listener in the browser finds the test's own page server.
    EXPECT_TRUE(processes::socketsOf(::getpid()).intersects(processes::listeningTcpSockets(server_.port())))
        << "the page server's socket is found listening, and held by this process";
    EXPECT_EQ(processes::executableHolding(processes::listeningTcpSockets(server_.port())),
              QFile::symLinkTarget("/proc/self/exe"));
    for (qint64 p : tree) {
        const QSet<QByteArray> held = processes::socketsOf(p);
        for (const QByteArray& inode : held)
            EXPECT_FALSE(listening.contains(inode)) << "process " << p << " listens on TCP (socket " << inode.constData() << ")";
    }
    EXPECT_FALSE(QFileInfo::exists(folder_.file("profile/profile/DevToolsActivePort")));
    EXPECT_EQ(ie.GetTitle(), QString("A")) << "and it is driven all the same";
    ie.Quit();
}

TEST_F(SessionTest, TheProfileIsTheUsersOwnAndKeepsTheSeededSettings) {
    TIECtrl ie;
    ASSERT_NE(start(ie), 0u);
    const QString folder = folder_.file("profile");
    for (const char* sub : {"", "/profile", "/profile/Default", "/home", "/config", "/cache"})
        EXPECT_EQ(modeOf(folder + sub), 0700) << sub;
    EXPECT_EQ(modeOf(folder + "/browser.log"), 0600);
    // The sandbox goes only for root, and the browser's log says so first.
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(ie.session()->processId()));
    ASSERT_TRUE(cmdline.open(QIODevice::ReadOnly));
    const bool asRoot = ::geteuid() == 0;
    EXPECT_EQ(cmdline.readAll().split('\0').contains("--no-sandbox"), asRoot);
    QFile log(folder + "/browser.log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readLine().startsWith(chromium::texts::SandboxOffAsRoot.toUtf8()), asRoot);
    // Its temporary folder: short enough for the browser's socket, private, gone with it.
    const QString temp = environmentOf(ie.session()->processId(), "TMPDIR");
    ASSERT_FALSE(temp.isEmpty());
    EXPECT_FALSE(temp.startsWith(folder));
    EXPECT_LE(temp.size(), 60);
    EXPECT_EQ(modeOf(temp), 0700);
    ASSERT_EQ(ie.NavigateWait(server_.url("/a")), 0);
    ie.Quit(); // the browser writes its preferences as it ends
    EXPECT_FALSE(QFileInfo::exists(temp));

    // Read broken, the seeded file would have been replaced by the defaults.
    QFile preferences(folder + "/profile/Default/Preferences");
    ASSERT_TRUE(preferences.open(QIODevice::ReadOnly));
    QJsonParseError parse;
    const QJsonObject prefs = QJsonDocument::fromJson(preferences.readAll(), &parse).object();
    ASSERT_EQ(parse.error, QJsonParseError::NoError) << qPrintable(parse.errorString());
    EXPECT_GT(prefs.size(), 2) << "the browser kept and extended the file";
    EXPECT_EQ(prefs.value("credentials_enable_service"), QJsonValue(false));
    EXPECT_EQ(prefs.value("profile").toObject().value("password_manager_enabled"), QJsonValue(false));
    EXPECT_EQ(modeOf(preferences.fileName()) & 077, 0);
}

TEST_F(SessionTest, StartsAndWorksWithADataFolderOfALongPath) {
    // Three bytes a character on disk, in folders of a usual length.
    QString folder = folder_.path();
    while (folder.size() < 140) folder += "/データのフォルダ";
    while (folder.size() < 150) folder += "x";
    ASSERT_EQ(folder.size(), 150);
    TIECtrl ie;
    ie.setSettings(headlessSettings(folder));
    ASSERT_NE(ie.FindOrLaunch(), 0u) << qPrintable(folder);
    ASSERT_EQ(ie.GetDocument(), 0);
    ASSERT_EQ(ie.NavigateWait(server_.url("/b")), 0);
    EXPECT_EQ(ie.GetTitle(), QString("B"));
    ie.Quit();
}

TEST_F(SessionTest, AWriteToADeadBrowserIsALostBrowser) {
    TIECtrl ie;
    ASSERT_NE(start(ie), 0u);
    ASSERT_EQ(ie.NavigateWait(server_.url("/a")), 0);
    const qint64 pid = ie.session()->processId();
    // No events between the kill and the next command: the write is the first to know.
    const auto previous = std::signal(SIGPIPE, SIG_DFL);
    ::kill(pid_t(pid), SIGKILL);
    QElapsedTimer t;
    t.start();
    while (QDir(QString("/proc/%1/fd").arg(pid)).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size() > 0
           && t.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_EQ(ie.NavigateWait(server_.url("/b")), -99);
    std::signal(SIGPIPE, previous);
    EXPECT_TRUE(AutomationError(uint32_t(ie.LastError), {}).isDisconnection()) << std::hex << ie.LastError;
    EXPECT_EQ(ie.ExistsByName("x"), 0);
    ie.Quit();
}

class RunningChromium {
public:
    explicit RunningChromium(const QString& folder) : folder_(folder) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* k : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
            QDir().mkpath(folder + "/" + k);
            env.insert(k, folder + "/" + k);
        }
        process.setProcessEnvironment(env);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        // Our own command line, but with a debugging port as the seller would have opened one.
        QStringList arguments = headlessSettings(folder).launchArguments(true);
        arguments.replaceInStrings("--remote-debugging-pipe", QString("--remote-debugging-port=%1").arg(port));
        process.start("/usr/bin/chromium", arguments);
        process.waitForStarted();
    }
    ~RunningChromium() {
        process.kill(); // our own child, by its pid
        process.waitForFinished(5000);
        makeRemovable(folder_);
    }
    // Opens a new page through the endpoint; false until the browser answers.
    bool openPage(const QString& url) {
        QNetworkAccessManager manager;
        manager.setProxy(QNetworkProxy::NoProxy);
        QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1/json/new?%2").arg(port).arg(url)));
        QNetworkReply* reply = manager.put(request, QByteArray());
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const bool ok = reply->error() == QNetworkReply::NoError;
        delete reply;
        return ok;
    }
    QString endpoint() const { return QString("127.0.0.1:%1").arg(port); }

    QString folder_;
    int port = 0;
    QProcess process;
};

TEST_F(SessionTest, AttachesToTheLastPageOfARunningChromium) {
    RunningChromium running(folder_.file("running"));
    bool up = false;
    for (int i = 0; i < 100 && !(up = running.openPage(server_.url("/a"))); ++i) pause(100);
    ASSERT_TRUE(up);
    pause(300);
    ASSERT_TRUE(running.openPage(server_.url("/b")));
    pause(500);

    TIECtrl ie;
    chromium::BrowserSettings s = headlessSettings(folder_.file("own"));
    s.debugEndpoint = running.endpoint();
    ie.setSettings(s);
    const WindowHandle w = ie.FindOrLaunch();
    ASSERT_NE(w, 0u);
    EXPECT_FALSE(ie.session()->launched());
    ASSERT_EQ(ie.GetDocument(), 0);
    EXPECT_EQ(ie.WaitComplete(10), 0);
    EXPECT_EQ(ie.GetUrl(), server_.url("/b"));

    // Ctrl+F4 closes the attached page, as it closes a tab; the browser stays.
    ASSERT_TRUE(Desktop::instance().setForeground(TIECtrl::WindowOf(w)));
    KeySender keys;
    keys.SendKeys("^{F4}");
    pause(300);
    EXPECT_FALSE(TIECtrl::WindowOf(w)->isAlive());
    EXPECT_EQ(running.process.state(), QProcess::Running);
    ie.Quit();
    EXPECT_EQ(running.process.state(), QProcess::Running) << "quitting an attached page leaves its browser";

    // Attaching again finds the page left.
    const WindowHandle again = ie.FindOrLaunch();
    ASSERT_NE(again, 0u);
    ASSERT_EQ(ie.GetDocument(), 0);
    EXPECT_EQ(ie.GetUrl(), server_.url("/a"));
    ie.Quit();
}

TEST_F(SessionTest, AnotherProgramBehindTheEndpointIsNotAttached) {
    RunningChromium running(folder_.file("running"));
    bool up = false;
    for (int i = 0; i < 100 && !(up = running.openPage(server_.url("/a"))); ++i) pause(100);
    ASSERT_TRUE(up);
    TIECtrl ie;
    chromium::BrowserSettings s = headlessSettings(folder_.file("own"));
    s.debugEndpoint = running.endpoint();
    s.program = "/usr/bin/otherbrowser";
    ie.setSettings(s);
    // The configured program cannot start either: nothing is attached or started.
    EXPECT_EQ(ie.FindOrLaunch(), 0u);
    EXPECT_TRUE(ie.Browser.isEmpty());

    // Nothing listening at the endpoint: the configured browser is started.
    s.program = "/usr/bin/chromium";
    s.debugEndpoint = "127.0.0.1:1";
    ie.setSettings(s);
    ASSERT_NE(ie.FindOrLaunch(), 0u);
    EXPECT_TRUE(ie.session()->launched());
    ie.Quit();
}

} // namespace
} // namespace zk::test
