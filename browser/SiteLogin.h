#pragma once
// The browser start of the main window (its button StartIE and the start-up step): attach to
// or start the browser, put its window where it was, open the site's login page and log in
// with the stored account. Also the reconnect rule that the workflows apply after a failed
// browser operation, and the browser's part of the closing sequence.
#include "browser/Iectrl.h"
#include "platform/KeySender.h"
#include "workflow/BrowserSession.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QString>

namespace zk {

class SiteLogin {
public:
    // The keys go through the shared KeySender, or an own one while there is none.
    SiteLogin(workflow::BrowserSession& browser, workflow::Settings& settings, workflow::Panel& panel);
    // The name the browser window's placement is kept under.
    static QString placementName() { return QStringLiteral("Internet Explorer"); }
    // https://<login host>/config/login?...&.done=http://<auction host>/jp
    static QString LoginAddress(const QString& loginHost, const QString& auctionHost);
    // The login address from the hosts of System.ini's [SITE] section.
    QString LoginAddress() const;

    void StartIEClick();
    // 0: logged in, or the page asked for nothing; -1: failed, its message shown with the
    // reason (an ID the site cannot read, the login page again, another page reached).
    int AutoLogin();
    // After a browser operation failed with `result`: a lost browser is said, forgotten and
    // started again; any other error is shown with its text; a timeout (-2) was shown already.
    void ReconnectRule(int result);
    // The same rule for an error a step returned: a lost browser is started again, another
    // error is said with its text.
    void ReconnectRule(const AutomationError& error);
    // Closing: keep the window's placement, quit, and close a tab that is still there.
    void CloseBrowser();

private:
    workflow::BrowserSession& browser_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
    KeySender ownKeys_;
    KeySender& keys();
    // After the login form was sent: empty when the auction site's page was reached, else why not.
    QString loginProblem();
};

} // namespace zk
