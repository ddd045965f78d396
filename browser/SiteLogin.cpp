#include "browser/SiteLogin.h"

#include "browser/SiteMap.h"
#include "browser/SiteMessages.h"
#include "browser/Texts.h"
#include "platform/AutomationError.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "workflow/SystemIni.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

namespace zk {

SiteLogin::SiteLogin(workflow::BrowserSession& browser, workflow::Settings& settings, workflow::Panel& panel)
    : browser_(browser), settings_(settings), panel_(panel) {}

KeySender& SiteLogin::keys() { return browser_.Keys ? *browser_.Keys : ownKeys_; }

QString SiteLogin::LoginAddress(const QString& loginHost, const QString& auctionHost) {
    return "https://" + loginHost + "/config/login?.lg=jp&.intl=jp&.src=auc&.done=http://" + auctionHost + "/jp";
}

QString SiteLogin::LoginAddress() const { return LoginAddress(settings_.loginHost(), settings_.auctionHost()); }

void SiteLogin::StartIEClick() {
    workflow::BusyGuard busy(panel_);
    TIECtrl& ie = *browser_.IE;
    // A browser that was killed or closed since is started anew, whatever the flag says.
    if (!browser_.IEConnected || !ie.IsConnected()) {
        // The browser's sections are read again at each start: the seller may have mended them.
        ie.setSettings(chromium::BrowserSettings::read(settings_.file(), settings_.dataFolder()));
        browser_.IEWindow = ie.FindOrLaunch();
        if (browser_.IEWindow == 0) {
            const QString cause = ie.LastErrorText;
            MessageService::instance().show(cause.isEmpty() ? browser::texts::StartFailed
                                                            : browser::texts::StartFailed + "\n\n" + cause,
                                            browser::texts::WarningCaption, Icon::Exclamation);
            return;
        }
        browser_.IEConnected = 1;
        // The browser's window keeps its close button (Chromium cannot take it away); closing
        // it shows up as a lost browser, which the reconnect rule mends.
        QCoreApplication::processEvents();
        if (DesktopWindow* window = TIECtrl::WindowOf(browser_.IEWindow))
            panel_.restorePlacement(window, placementName());
    }
    Desktop::instance().setForeground(TIECtrl::WindowOf(browser_.IEWindow));
    ie.Navigate(LoginAddress());
    QThread::msleep(100);
    ie.GetDocument();
    AutoLogin();
}

int SiteLogin::AutoLogin() {
    TIECtrl& ie = *browser_.IE;
    const auto failed = [](const QString& reason) {
        MessageService::instance().show(reason.isEmpty() ? browser::texts::LoginFailed
                                                         : browser::texts::LoginFailed + "\n\n" + reason);
        return -1;
    };
    const QString id = settings_.value(workflow::ini::YahooId);
    bool filled = false;
    if (ie.ExistsByName(browser::site::LoginField)) {
        // Bytes that are no CP932 were read as replacement characters: the site could not read them either.
        if (id.contains(QChar::ReplacementCharacter)) return failed(browser::texts::LoginIdUnreadable);
        if (ie.SetFormValue(0, browser::site::LoginField, id) < 0) return failed({});
        filled = true;
    }
    if (ie.ExistsByName(browser::site::PasswordField)) {
        if (ie.SetFormValue(0, browser::site::PasswordField, settings_.value(workflow::ini::Password)) < 0) return failed({});
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
    TIECtrl& ie = *browser_.IE;
    if (ie.ExistsByName(browser::site::PasswordField) == 1) {
        // The site's own words when it gives any.
        const QStringList said = browser::siteErrors(ie);
        return said.isEmpty() ? browser::texts::LoginAskedAgain : said.first();
    }
    QString url;
    try {
        url = ie.GetUrl();
    } catch (const AutomationError& e) {
        return browser::texts::LoginPageNotReached + e.text();
    }
    // The login ends on the auction site's own pages.
    const QUrl reached(url);
    const QUrl auction("http://" + settings_.auctionHost());
    if (reached.host().compare(auction.host(), Qt::CaseInsensitive) != 0)
        return browser::texts::LoginPageNotReached + url;
    return {};
}

void SiteLogin::ReconnectRule(int result) {
    if (result == -2) return;
    TIECtrl& ie = *browser_.IE;
    ReconnectRule(AutomationError(uint32_t(ie.LastError), ie.LastErrorText));
}

void SiteLogin::ReconnectRule(const AutomationError& error) {
    if (error.isDisconnection()) {
        MessageService::instance().show(browser::texts::Disconnected, browser::texts::WarningCaption, Icon::Exclamation);
        browser_.IEConnected = 0;
        StartIEClick();
        return;
    }
    MessageService::instance().show(browser::texts::OperationFailed + error.text(), browser::texts::WarningCaption,
                                    Icon::Exclamation);
}

void SiteLogin::CloseBrowser() {
    if (!browser_.IEConnected) return;
    TIECtrl& ie = *browser_.IE;
    if (DesktopWindow* window = TIECtrl::WindowOf(browser_.IEWindow)) panel_.savePlacement(window, placementName());
    ie.Quit();
    DesktopWindow* window = TIECtrl::WindowOf(browser_.IEWindow);
    if (window && !window->title().left(64).isEmpty()) {
        Desktop::instance().setForeground(window);
        keys().SendKeys("^{F4}");
    }
}

} // namespace zk
