#include "BrowserWindow.h"

#include "ChromiumBrowser.h"
#include "platform/KeyboardLayout.h"
#include "platform/AutomationError.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonObject>

namespace zk::chromium {

namespace {

QHash<quintptr, BrowserWindow*>& registry() {
    static QHash<quintptr, BrowserWindow*> windows;
    return windows;
}

quintptr nextHandle() {
    static quintptr next = 0x10000;
    return next += 0x10;
}

constexpr int kAlt = 1, kControl = 2, kShift = 8;

} // namespace

BrowserWindow::BrowserWindow(ChromiumBrowser* browser, int windowId)
    : browser_(browser), windowId_(windowId), handle_(nextHandle()) {
    registry().insert(handle_, this);
    Desktop::instance().add(this);
}

BrowserWindow::~BrowserWindow() { registry().remove(handle_); }

BrowserWindow* BrowserWindow::find(quintptr handle) { return registry().value(handle, nullptr); }

QString BrowserWindow::title() const {
    if (!isAlive()) return {};
    try {
        return browser_->browserCall("Target.getTargetInfo", {{"targetId", browser_->targetId()}})
            .value("targetInfo").toObject().value("title").toString();
    } catch (const AutomationError&) {
        return {};
    }
}

bool BrowserWindow::isAlive() const { return browser_->alive(); }

bool BrowserWindow::bringToFront() {
    if (!isAlive()) return false;
    try {
        browser_->pageCall("Page.bringToFront");
        return true;
    } catch (const AutomationError&) {
        return false;
    }
}

bool BrowserWindow::placement(QRect& normal) const {
    if (!isAlive()) return false;
    try {
        const QJsonObject bounds =
            browser_->browserCall("Browser.getWindowBounds", {{"windowId", windowId_}}).value("bounds").toObject();
        const QRect rect(bounds.value("left").toInt(), bounds.value("top").toInt(), bounds.value("width").toInt(),
                         bounds.value("height").toInt());
        // Minimised or maximised, the normal rectangle is the one we saw last.
        if (bounds.value("windowState").toString() == "normal" || !lastNormal_.isValid()) lastNormal_ = rect;
        normal = lastNormal_;
        return true;
    } catch (const AutomationError&) {
        return false;
    }
}

bool BrowserWindow::setPlacement(const QRect& normal) {
    if (!isAlive()) return false;
    try {
        const QJsonObject current =
            browser_->browserCall("Browser.getWindowBounds", {{"windowId", windowId_}}).value("bounds").toObject();
        if (current.value("windowState").toString() != "normal")
            browser_->browserCall("Browser.setWindowBounds",
                                  {{"windowId", windowId_}, {"bounds", QJsonObject{{"windowState", "normal"}}}});
        browser_->browserCall("Browser.setWindowBounds",
                              {{"windowId", windowId_},
                               {"bounds", QJsonObject{{"left", normal.left()}, {"top", normal.top()},
                                                      {"width", normal.width()}, {"height", normal.height()}}}});
        lastNormal_ = normal;
        return true;
    } catch (const AutomationError&) {
        return false;
    }
}

void BrowserWindow::sendKey(int vk, bool down) {
    // Modifiers travel in the events' flags: a key event of their own swallows the next key.
    switch (vk) {
    case 16: shift_ = down; return;
    case 17: control_ = down; return;
    case 18: alt_ = down; return;
    default: break;
    }
    if (!isAlive()) return;
    if (vk == 115 && control_ && !alt_) { // Ctrl+F4 closes the page
        if (down) {
            try {
                browser_->browserCall("Target.closeTarget", {{"targetId", browser_->targetId()}});
            } catch (const AutomationError&) {
            }
        }
        return;
    }
    const bool caps = keyboard::capsLockOn();
    const int modifiers = (alt_ ? kAlt : 0) | (control_ ? kControl : 0) | (shift_ ? kShift : 0);
    QJsonObject event{{"modifiers", modifiers},
                      {"windowsVirtualKeyCode", vk},
                      {"nativeVirtualKeyCode", vk},
                      {"code", keyboard::codeFor(vk)},
                      {"key", keyboard::keyNameFor(vk, shift_, caps)}};
    if (!down) {
        event.insert("type", "keyUp");
    } else {
        QString text = keyboard::textFor(vk, shift_, caps);
        if (control_ && vk >= 'A' && vk <= 'Z') text = QString(QChar(vk)).toLower(); // Ctrl+C, Ctrl+V
        else if (control_ || alt_) text.clear();
        if (text.isEmpty()) {
            event.insert("type", "rawKeyDown");
        } else {
            event.insert("type", "keyDown");
            event.insert("text", text);
            event.insert("unmodifiedText", text);
        }
    }
    try {
        browser_->pageCall("Input.dispatchKeyEvent", event);
    } catch (const AutomationError&) {
        // Keys to a window that has gone are lost, as they would be on any desktop.
    }
}

void BrowserWindow::processKeys() { QCoreApplication::processEvents(); }

} // namespace zk::chromium
