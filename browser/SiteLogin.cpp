#include "browser/SiteLogin.h"

#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>
#include <QThread>

namespace zk {


SiteLogin::SiteLogin(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

KeySender& SiteLogin::keys() { return shared_.Keys ? *shared_.Keys : ownKeys_; }

QString SiteLogin::LoginAddress(const QString& loginHost, const QString& auctionHost) {
    return "https://" + loginHost + "/config/login?.lg=jp&.intl=jp&.src=auc&.done=http://" + auctionHost + "/jp";
}

QString SiteLogin::LoginAddress() const {
    return LoginAddress(shared_.Settings.loginHost(), shared_.Settings.auctionHost());
}

void SiteLogin::StartIEClick() {
    workflow::BusyGuard busy(panel_);
    TIECtrl& ie = *shared_.IE;
    // A browser that was killed or closed since is started anew, whatever the flag says.
    if (!shared_.IEConnected || !ie.IsConnected()) {
        ie.setSystemIniPath(shared_.Settings.systemIniPath());
        shared_.IEWindow = ie.FindOrLaunch();
        if (shared_.IEWindow == 0) {
            MessageService::instance().show(browser::texts::StartFailed, browser::texts::WarningCaption,
                                            Icon::Exclamation);
            return;
        }
        shared_.IEConnected = 1;
        // The browser's window keeps its close button (Chromium cannot take it away); closing
        // it shows up as a lost browser, which the reconnect rule mends.
        QCoreApplication::processEvents();
        if (DesktopWindow* window = TIECtrl::WindowOf(shared_.IEWindow))
            panel_.restorePlacement(window, placementName());
    }
    Desktop::instance().setForeground(TIECtrl::WindowOf(shared_.IEWindow));
    ie.Navigate(LoginAddress());
    QThread::msleep(100);
    ie.GetDocument();
    AutoLogin();
}

int SiteLogin::AutoLogin() {
    TIECtrl& ie = *shared_.IE;
    bool filled = false;
    if (ie.ExistsByName("login")) {
        if (ie.SetFormValue(0, "login", shared_.Settings.value(workflow::ini::YahooId)) < 0) {
            MessageService::instance().show(browser::texts::LoginFailed);
            return -1;
        }
        filled = true;
    }
    if (ie.ExistsByName("passwd")) {
        if (ie.SetFormValue(0, "passwd", shared_.Settings.value(workflow::ini::Password)) < 0) {
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
    TIECtrl& ie = *shared_.IE;
    if (AutomationError(uint32_t(ie.LastError), {}).isDisconnection()) {
        MessageService::instance().show(browser::texts::Disconnected, browser::texts::WarningCaption, Icon::Exclamation);
        shared_.IEConnected = 0;
        StartIEClick();
        return;
    }
    MessageService::instance().show(browser::texts::OperationFailed + ie.LastErrorText, browser::texts::WarningCaption,
                                    Icon::Exclamation);
}

void SiteLogin::CloseBrowser() {
    if (!shared_.IEConnected) return;
    TIECtrl& ie = *shared_.IE;
    if (DesktopWindow* window = TIECtrl::WindowOf(shared_.IEWindow))
        panel_.savePlacement(window, placementName());
    ie.Quit();
    DesktopWindow* window = TIECtrl::WindowOf(shared_.IEWindow);
    if (window && !window->title().left(64).isEmpty()) {
        Desktop::instance().setForeground(window);
        keys().SendKeys("^{F4}");
    }
}

} // namespace zk
