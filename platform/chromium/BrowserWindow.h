#pragma once
// The driven browser's window on our desktop: its placement is the browser window's bounds,
// the keys sent to it are injected into the page as key events. Ctrl+F4 closes the page, as it
// closes a tab. Chromium offers no way to take the close button off its window: a page the
// user closes there is seen by the next operation as a lost browser, which the reconnect rule
// mends.
#include "platform/Desktop.h"

#include <QRect>

namespace zk::chromium {

class ChromiumBrowser;

class BrowserWindow : public DesktopWindow {
public:
    BrowserWindow(ChromiumBrowser* browser, int windowId);
    ~BrowserWindow() override;

    // A handle unique in this run; 0 is never used.
    quintptr handle() const { return handle_; }
    static BrowserWindow* find(quintptr handle);

    QString title() const override;
    bool isAlive() const override;
    bool bringToFront() override;
    bool placement(QRect& normal) const override;
    bool setPlacement(const QRect& normal) override;
    void sendKey(int virtualKey, bool down) override;
    void processKeys() override;

private:
    ChromiumBrowser* browser_;
    int windowId_;
    quintptr handle_;
    mutable QRect lastNormal_;
    bool shift_ = false, control_ = false, alt_ = false;
};

} // namespace zk::chromium
