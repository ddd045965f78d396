#include "SiteLogin.h"

#include "Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"

#include <QCoreApplication>
#include <QThread>

namespace zk {

namespace {

// Enables the panel again on every way out, errors included.
class PanelGuard {
public:
    explicit PanelGuard(BrowserHost& host) : host_(host) { host_.setPanelEnabled(0); }
    ~PanelGuard() { host_.setPanelEnabled(1); }

private:
    BrowserHost& host_;
};

const QString kSiteSection = QStringLiteral("SITE");

} // namespace

SiteLogin::SiteLogin(BrowserHost& host, KeySender* keys) : host_(host), keys_(keys ? keys : &ownKeys_) {}

QString SiteLogin::LoginAddress(const QString& loginHost, const QString& auctionHost) {
    return "https://" + loginHost + "/config/login?.lg=jp&.intl=jp&.src=auc&.done=http://" + auctionHost + "/jp";
}

QString SiteLogin::LoginAddress() const {
    ProfileFile ini(host_.systemIniPath());
    ini.load();
    return LoginAddress(ini.readString(kSiteSection, "LOGIN_HOST", "login.sim.test").trimmed(),
                        ini.readString(kSiteSection, "AUCTION_HOST", "auctions.sim.test").trimmed());
}

void SiteLogin::StartIEClick() {
    PanelGuard panel(host_);
    TIECtrl& ie = host_.ie();
    // A browser that was killed or closed since is started anew, whatever the flag says.
    if (!host_.ieConnected() || !ie.IsConnected()) {
        ie.setSystemIniPath(host_.systemIniPath());
        host_.ieWindow() = ie.FindOrLaunch();
        if (host_.ieWindow() == 0) {
            MessageService::instance().show(browser::texts::StartFailed, browser::texts::WarningCaption,
                                            Icon::Exclamation);
            return;
        }
        host_.ieConnected() = 1;
        // The browser's window keeps its close button (Chromium cannot take it away); closing
        // it shows up as a lost browser, which the reconnect rule mends.
        QCoreApplication::processEvents();
        if (DesktopWindow* window = TIECtrl::WindowOf(host_.ieWindow()))
            host_.restoreWindowPlacement(window, placementName());
    }
    Desktop::instance().setForeground(TIECtrl::WindowOf(host_.ieWindow()));
    ie.Navigate(LoginAddress());
    QThread::msleep(100);
    ie.GetDocument();
    AutoLogin();
}

int SiteLogin::AutoLogin() {
    TIECtrl& ie = host_.ie();
    bool filled = false;
    if (ie.ExistsByName("login")) {
        if (ie.SetFormValue(0, "login", host_.systemValue("YAHOO_ID")) < 0) {
            MessageService::instance().show(browser::texts::LoginFailed);
            return -1;
        }
        filled = true;
    }
    if (ie.ExistsByName("passwd")) {
        if (ie.SetFormValue(0, "passwd", host_.systemValue("PASSWORD")) < 0) {
            MessageService::instance().show(browser::texts::LoginFailed);
            return -1;
        }
        filled = true;
    }
    if (filled && ie.SubmitForm(0, 0) != 0) {
        MessageService::instance().show(browser::texts::LoginFailed);
        return -1;
    }
    return 0;
}

void SiteLogin::ReconnectRule(int result) {
    if (result == -2) return;
    TIECtrl& ie = host_.ie();
    if (AutomationError(uint32_t(ie.LastError), {}).isDisconnection()) {
        MessageService::instance().show(browser::texts::Disconnected, browser::texts::WarningCaption, Icon::Exclamation);
        host_.ieConnected() = 0;
        StartIEClick();
        return;
    }
    MessageService::instance().show(browser::texts::OperationFailed + ie.LastErrorText, browser::texts::WarningCaption,
                                    Icon::Exclamation);
}

void SiteLogin::CloseBrowser() {
    if (!host_.ieConnected()) return;
    TIECtrl& ie = host_.ie();
    if (DesktopWindow* window = TIECtrl::WindowOf(host_.ieWindow()))
        host_.saveWindowPlacement(window, placementName());
    ie.Quit();
    DesktopWindow* window = TIECtrl::WindowOf(host_.ieWindow());
    if (window && !window->title().left(64).isEmpty()) {
        Desktop::instance().setForeground(window);
        keys_->SendKeys("^{F4}");
    }
}

} // namespace zk
