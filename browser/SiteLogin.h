#pragma once
// The browser start of the main window (its button StartIE and the start-up step): attach to
// or start the browser, put its window where it was, open the site's login page and log in
// with the stored account. Also the reconnect rule that the workflows apply after a failed
// browser operation, and the browser's part of the closing sequence.
#include "browser/Iectrl.h"
#include "browser/KeySender.h"

#include <QString>

namespace zk {

class DesktopWindow;

// What the browser start needs of the main window.
class BrowserHost {
public:
    virtual ~BrowserHost() = default;
    virtual TIECtrl& ie() = 0;
    virtual int& ieConnected() = 0;
    virtual WindowHandle& ieWindow() = 0;
    // A value of System.ini's SYSTEM section as read at start-up (YAHOO_ID, PASSWORD).
    virtual QString systemValue(const QString& name) const = 0;
    virtual QString systemIniPath() const = 0;
    virtual void setPanelEnabled(int flag) = 0;
    virtual void restoreWindowPlacement(DesktopWindow* window, const QString& name) = 0;
    virtual void saveWindowPlacement(DesktopWindow* window, const QString& name) = 0;
};

class SiteLogin {
public:
    explicit SiteLogin(BrowserHost& host, KeySender* keys = nullptr);

    // The name the browser window's placement is kept under.
    static QString placementName() { return QStringLiteral("Internet Explorer"); }
    // https://<login host>/config/login?...&.done=http://<auction host>/jp
    static QString LoginAddress(const QString& loginHost, const QString& auctionHost);
    // The login address from the [SITE] section of System.ini.
    QString LoginAddress() const;

    void StartIEClick();
    // 0: logged in, or the page asked for nothing; -1: failed, its message shown.
    int AutoLogin();
    // After a browser operation failed with `result`: a lost browser is said, forgotten and
    // started again; any other error is shown with its text; a timeout (-2) was shown already.
    void ReconnectRule(int result);
    // Closing: keep the window's placement, quit, and close a tab that is still there.
    void CloseBrowser();

private:
    BrowserHost& host_;
    KeySender ownKeys_;
    KeySender* keys_;
};

} // namespace zk
