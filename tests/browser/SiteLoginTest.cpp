// The browser start and the login against the practice site, in a real headless Chromium.
#include "BrowserFixture.h"
#include "SiteProcess.h"

#include "browser/SiteLogin.h"
#include "browser/Texts.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/chromium/ChromiumTexts.h"
#include "site/Catalog.h"
#include "site/DataFolder.h"
#include "platform/KeySender.h"
#include "tests/support/NullPanel.h"
#include "workflow/Services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>

#include <QJsonArray>
#include <QThread>
#include <map>

#include <signal.h>

namespace zk::test {
namespace {

// The main window's side of the browser start: the services and the panel's operations
// recorded; placements kept in memory.
class TestHost : public NullPanel {
public:
    TestHost() { services.browser.IE = &ie_; }

    void setBusy(bool busy) override { panel << (busy ? 0 : 1); }
    void restorePlacement(DesktopWindow* window, const QString& name) override {
        restored << name;
        if (places.count(name)) window->setPlacement(places[name]);
    }
    void savePlacement(DesktopWindow* window, const QString& name) override {
        QRect r;
        if (window->placement(r)) places[name] = r;
    }

    // System.ini of the test's data folder, read as the start-up step reads it.
    void useIni(const QString& path) {
        iniPath = path;
        services.settings.setDataFolder(QFileInfo(path).absolutePath() + "/");
        services.settings.read();
    }
    QString readSystem(const QString& name) const {
        ProfileFile ini(iniPath);
        ini.load();
        return ini.readString("SYSTEM", name);
    }

    QString iniPath;
    TIECtrl ie_;
    workflow::Services services;
    int& connected_ = services.browser.IEConnected;
    WindowHandle& window_ = services.browser.IEWindow;
    QList<int> panel;
    QStringList restored;
    std::map<QString, QRect> places;
};

class SiteLoginTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString error = site_.start();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_TRUE(site::writeDataFolder(site_.info(), folder_.file("data")).isEmpty());
        ProfileFile ini(folder_.file("data/System.ini"));
        ASSERT_TRUE(ini.load());
        ini.writeString("BROWSER", "HEADLESS", "1");
        ini.writeString("BROWSER", "PROFILE", folder_.file("browser"));
        host_.useIni(ini.path());
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
    }
    void TearDown() override {
        host_.ie_.Quit();
        site_.stop();
        makeRemovable(folder_.path());
    }
    QJsonArray logins() const { return site_.state().value("logins").toArray(); }
    QStringList messages() const {
        QStringList texts;
        for (const QJsonObject& o : MessageService::instance().transcript())
            texts << o.value("caption").toString() + "|" + o.value("text").toString();
        return texts;
    }
    // As the account dialog changes it: in the file and in the values read at start-up.
    void setAccount(const QString& user, const QString& password) {
        ASSERT_TRUE(host_.services.settings.writeAccount(user, password));
    }

    TempFolder folder_;
    SiteProcess site_;
    TestHost host_;
};

TEST_F(SiteLoginTest, LoginAddressFromTheConfiguredHosts) {
    EXPECT_EQ(SiteLogin::LoginAddress("login.example.test:8443", "auc.example.test:8080"),
              QString("https://login.example.test:8443/config/login?.lg=jp&.intl=jp&.src=auc&.done="
                      "http://auc.example.test:8080/jp"));
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    EXPECT_EQ(login.LoginAddress(), site_.info().loginUrl());
}

TEST_F(SiteLoginTest, StartsTheBrowserAndLogsInWithTheStoredAccount) {
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(host_.connected_, 1);
    EXPECT_NE(host_.window_, 0u);
    EXPECT_EQ(host_.panel, QList<int>({0, 1}));
    EXPECT_EQ(host_.restored, QStringList{"Internet Explorer"});
    ASSERT_EQ(logins().size(), 1);
    EXPECT_EQ(logins()[0].toObject().value("user").toString(), host_.readSystem("YAHOO_ID"));
    EXPECT_TRUE(logins()[0].toObject().value("ok").toBool());
    EXPECT_EQ(host_.ie_.WaitComplete(10), 0);
    EXPECT_EQ(host_.ie_.GetUrl(), site_.info().auctionTop());

    // Pressed again: the same browser and window go to the login page again.
    const qint64 pid = host_.ie_.session()->processId();
    const WindowHandle window = host_.window_;
    login.StartIEClick();
    EXPECT_EQ(host_.ie_.session()->processId(), pid);
    EXPECT_EQ(host_.window_, window);
    EXPECT_EQ(host_.restored.size(), 1);
}

TEST_F(SiteLoginTest, AFailedLoginIsSaidWithTheSitesReason) {
    const QString refused = browser::texts::LoginFailed + "\n\n" + QString::fromUtf8("IDまたはパスワードが正しくありません。");
    setAccount(site_.info().user, "wrong");
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    EXPECT_EQ(messages(), QStringList{MessageService::applicationTitle() + "|" + refused});
    ASSERT_EQ(logins().size(), 1);
    EXPECT_FALSE(logins()[0].toObject().value("ok").toBool());
    EXPECT_EQ(host_.ie_.ExistsByName("passwd"), 1) << "the site asks again";

    // An empty password is still sent: the site says what is wrong.
    MessageService::instance().clearTranscript();
    setAccount(site_.info().user, "");
    EXPECT_EQ(login.AutoLogin(), -1);
    EXPECT_EQ(messages(), QStringList{MessageService::applicationTitle() + "|" + refused});
    ASSERT_EQ(logins().size(), 2);
    EXPECT_FALSE(logins()[1].toObject().value("ok").toBool());
}

TEST_F(SiteLoginTest, AnIdTheSiteCannotReadIsNotSentAndSaid) {
    // 0x85 0x40 is no character of CP932.
    QFile file(host_.iniPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray ini = file.readAll();
    file.close();
    const qsizetype at = ini.indexOf("YAHOO_ID=");
    ASSERT_GE(at, 0);
    ini.replace(at, ini.indexOf('\r', at) - at, QByteArray("YAHOO_ID=ab\x85\x40"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(ini);
    file.close();
    host_.services.settings.read();

    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    EXPECT_EQ(messages(), QStringList{MessageService::applicationTitle() + "|" + browser::texts::LoginFailed + "\n\n"
                                      + browser::texts::LoginIdUnreadable});
    EXPECT_TRUE(logins().isEmpty());
}

TEST_F(SiteLoginTest, ListLengthTimesOutOnTheSitesSlowPage) {
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    TIECtrl& ie = host_.ie_;
    ASSERT_EQ(ie.WaitComplete(10), 0);
    ASSERT_EQ(ie.SelectByTagName("a"), 0);
    const int links = ie.GetListLength();
    EXPECT_GT(links, 0);
    MessageService::instance().clearTranscript();
    ie.Browser.call("Navigate2", {"http://" + site_.info().auctionHost() + "/_sim/slow?ms=20000"});
    EXPECT_EQ(ie.GetListLength(), -2);
    EXPECT_EQ(ie.lastPollCount(), 2000);
    EXPECT_EQ(messages(), QStringList{MessageService::applicationTitle() + "|" + browser::texts::Timeout});
    EXPECT_EQ(ie.NavigateWait(site_.info().auctionTop()), 0) << "a new navigation replaces the slow one";
}

TEST_F(SiteLoginTest, PictureChosenInTheFileChooserIsStoredOnTheSite) {
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    TIECtrl& ie = host_.ie_;
    ASSERT_EQ(ie.NavigateWait(site_.info().listingUrl() + QString::fromStdString(site::categoryCodes().front())), 0);
    // The category is confirmed first, then the entry form leads to the picture page.
    for (const char* button : {"auc_insertion_ok", "to_pictures"}) {
        ASSERT_EQ(ie.SelectByName(button), 0);
        ASSERT_EQ(ie.GetListLength(), 1) << button << " on " << ie.GetTitle().toStdString();
        ASSERT_EQ(ie.NarrowToItem(0), 0);
        ASSERT_EQ(ie.ClickSelected(), 0);
    }
    ASSERT_EQ(ie.ExistsByName("ImageFile1"), 1) << ie.GetTitle().toStdString();

    const QString picture = folder_.write("pics/カメラ.jpg", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + QByteArray(300, 'x'));
    ASSERT_TRUE(Desktop::instance().setForeground(TIECtrl::WindowOf(host_.window_)));
    KeySender keys;
    ASSERT_EQ(ie.SetFormImeMode(0, "ImageFile1", false), 0);
    ASSERT_EQ(ie.FocusFormItem(0, "ImageFile1"), 0);
    keys.SendKeys("{TAB}");
    keys.SendKeys(" ");
    // The chooser opens by an event from the browser: let the events in while waiting for it.
    for (int polls = 0; polls < 200 && !ie.IsBusy(); ++polls) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(25);
    }
    DesktopWindow* chooser = Desktop::instance().findByTitle("アップロードするファイルの選択");
    ASSERT_NE(chooser, nullptr);
    QGuiApplication::clipboard()->setText(picture);
    Desktop::instance().setForeground(chooser);
    keys.SendKeys("^v{ENTER}");
    keys.SendKeys("%N^c");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), picture);
    ASSERT_EQ(ie.SubmitForm(0, 0), 0);

    const QJsonArray drafts = site_.state().value("drafts").toArray();
    ASSERT_EQ(drafts.size(), 1);
    const QJsonArray pictures = drafts[0].toObject().value("pictures").toArray();
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0].toObject().value("stored").toString().isEmpty(), false);
    EXPECT_TRUE(QJsonDocument(pictures[0].toObject()).toJson().contains("カメラ.jpg"))
        << QJsonDocument(pictures[0].toObject()).toJson().constData();
}

TEST_F(SiteLoginTest, NoBrowserSaysSoWithTheCauseAndStaysUnconnected) {
    struct Case {
        const char* key;
        QString value;
        QString cause;
    };
    const QList<Case> cases = {
        {"PROGRAM", folder_.file("no-such-browser"), chromium::texts::LaunchFailed},
        {"ARGUMENTS", "--lang=ja --remote-debugging-port=0",
         chromium::texts::DebugArgumentRefused.arg("--remote-debugging-port=0")},
    };
    for (const Case& c : cases) {
        ProfileFile ini(host_.iniPath);
        ini.load();
        ini.writeString("BROWSER", c.key, c.value);
        MessageService::instance().clearTranscript();
        host_.panel.clear();
        SiteLogin login(host_.services.browser, host_.services.settings, host_);
        login.StartIEClick();
        const QStringList said = messages();
        ASSERT_EQ(said.size(), 1) << c.key;
        EXPECT_TRUE(said[0].startsWith(browser::texts::WarningCaption + "|" + browser::texts::StartFailed + "\n\n" + c.cause))
            << said[0].toStdString();
        EXPECT_EQ(host_.connected_, 0);
        EXPECT_EQ(host_.panel, QList<int>({0, 1}));
        ini.load();
        ini.writeString("BROWSER", c.key, "");
    }
}

TEST_F(SiteLoginTest, ReconnectRuleStartsAKilledBrowserAgain) {
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    ASSERT_EQ(host_.connected_, 1);
    const qint64 pid = host_.ie_.session()->processId();
    ::kill(pid_t(pid), SIGKILL);
    QThread::msleep(200);
    const int result = host_.ie_.NavigateWait(site_.info().auctionTop());
    ASSERT_EQ(result, -99);
    login.ReconnectRule(result);
    EXPECT_EQ(messages(), QStringList{browser::texts::WarningCaption + "|" + browser::texts::Disconnected});
    EXPECT_EQ(host_.connected_, 1);
    ASSERT_NE(host_.ie_.session(), nullptr);
    EXPECT_NE(host_.ie_.session()->processId(), pid);
    EXPECT_EQ(logins().size(), 2);

    MessageService::instance().clearTranscript();
    host_.ie_.LastError = int32_t(0x80020009u);
    host_.ie_.LastErrorText = "失敗の説明";
    login.ReconnectRule(-99);
    EXPECT_EQ(messages(), QStringList{browser::texts::WarningCaption + "|" + browser::texts::OperationFailed + "失敗の説明"});
    login.ReconnectRule(-2);
    EXPECT_EQ(messages().size(), 1) << "a timeout was shown by the wait";
}

TEST_F(SiteLoginTest, StartIEAfterTheBrowserWasKilledStartsANewOneAndLogsIn) {
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    login.StartIEClick();
    ASSERT_EQ(host_.connected_, 1);
    const qint64 pid = host_.ie_.session()->processId();
    ::kill(pid_t(pid), SIGKILL); // ours: started by this test's login
    for (int i = 0; i < 200 && host_.ie_.IsConnected(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    ASSERT_FALSE(host_.ie_.IsConnected());
    login.StartIEClick();
    EXPECT_EQ(host_.connected_, 1);
    ASSERT_NE(host_.ie_.session(), nullptr);
    EXPECT_NE(host_.ie_.session()->processId(), pid);
    EXPECT_EQ(logins().size(), 2);
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(SiteLoginTest, PlacementIsSavedAtCloseAndRestoredAtStart) {
    SiteLogin login(host_.services.browser, host_.services.settings, host_);
    host_.places["Internet Explorer"] = QRect(120, 80, 820, 640);
    login.StartIEClick();
    int left, top, width, height;
    ASSERT_TRUE(TIECtrl::GetPlacement(host_.window_, left, top, width, height));
    EXPECT_EQ(QRect(left, top, width, height), QRect(120, 80, 820, 640));
    TIECtrl::SetPlacement(host_.window_, 60, 50, 900, 700);
    const qint64 pid = host_.ie_.session()->processId();
    login.CloseBrowser();
    EXPECT_EQ(host_.places["Internet Explorer"], QRect(60, 50, 900, 700));
    EXPECT_TRUE(host_.ie_.Browser.isEmpty());
    EXPECT_FALSE(QFile::exists(QString("/proc/%1/exe").arg(pid)));
}

} // namespace
} // namespace zk::test
