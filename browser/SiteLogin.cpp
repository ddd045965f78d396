#include "browser/SiteLogin.h"

#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

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
        // The browser's sections are read again at each start: the seller may have mended them.
        ie.setSettings(chromium::BrowserSettings::read(shared_.Settings.file(), shared_.Settings.dataFolder()));
        shared_.IEWindow = ie.FindOrLaunch();
        if (shared_.IEWindow == 0) {
            const QString cause = ie.LastErrorText;
            MessageService::instance().show(cause.isEmpty() ? browser::texts::StartFailed
                                                            : browser::texts::StartFailed + "\n\n" + cause,
                                            browser::texts::WarningCaption, Icon::Exclamation);
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
    const auto failed = [](const QString& reason) {
        MessageService::instance().show(reason.isEmpty() ? browser::texts::LoginFailed
                                                         : browser::texts::LoginFailed + "\n\n" + reason);
        return -1;
    };
    const QString id = shared_.Settings.value(workflow::ini::YahooId);
    bool filled = false;
    if (ie.ExistsByName("login")) {
        // Bytes that are no CP932 were read as replacement characters: the site could not read them either.
        if (id.contains(QChar::ReplacementCharacter)) return failed(browser::texts::LoginIdUnreadable);
        if (ie.SetFormValue(0, "login", id) < 0) return failed({});
        filled = true;
    }
    if (ie.ExistsByName("passwd")) {
        if (ie.SetFormValue(0, "passwd", shared_.Settings.value(workflow::ini::Password)) < 0) return failed({});
        filled = true;
    }
    if (filled && ie.SubmitForm(0, 0) != 0) return failed({});
    if (filled) {
        const QString reason = loginProblem();
        if (!reason.isEmpty()) return failed(reason);
    }
    return 0;
}

QString SiteLogin::loginProblem() {
    TIECtrl& ie = *shared_.IE;
    if (ie.ExistsByName("passwd") == 1) {
        // The site's own words when it gives any.
        if (ie.SelectByTagName("p") == 0) {
            const int n = ie.GetListLength();
            for (int i = 0; i < n; ++i)
                if (ie.GetItemAttribute(i, "class").split(' ').contains("error")) {
                    const QString said = ie.GetItemInnerText(i).trimmed();
                    if (!said.isEmpty()) return said;
                }
        }
        return browser::texts::LoginAskedAgain;
    }
    QString url;
    try {
        url = ie.GetUrl();
    } catch (const AutomationError& e) {
        return browser::texts::LoginPageNotReached + e.text();
    }
    // The login ends on the auction site's own pages.
    const QUrl reached(url);
    const QUrl auction("http://" + shared_.Settings.auctionHost());
    if (reached.host().compare(auction.host(), Qt::CaseInsensitive) != 0)
        return browser::texts::LoginPageNotReached + url;
    return {};
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
