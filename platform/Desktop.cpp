#include "Desktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace zk {

DesktopWindow::~DesktopWindow() { Desktop::instance().remove(this); }

WidgetWindow::WidgetWindow(QWidget* widget) : widget_(widget) { Desktop::instance().add(this); }
WidgetWindow::~WidgetWindow() = default;

QString WidgetWindow::title() const { return widget_ ? widget_->windowTitle() : QString(); }
bool WidgetWindow::isAlive() const { return widget_ != nullptr; }

bool WidgetWindow::bringToFront() {
    if (!widget_) return false;
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
    return true;
}

bool WidgetWindow::placement(QRect& normal) const {
    if (!widget_) return false;
    normal = (widget_->isMaximized() || widget_->isMinimized()) && widget_->normalGeometry().isValid()
        ? widget_->normalGeometry()
        : QRect(widget_->pos(), widget_->size());
    return true;
}

bool WidgetWindow::setPlacement(const QRect& normal) {
    if (!widget_) return false;
    widget_->showNormal();
    widget_->move(normal.topLeft());
    widget_->resize(normal.size());
    return true;
}

void WidgetWindow::sendKey(int virtualKey, bool down) {
    QWidget* target = widget_ ? (widget_->focusWidget() ? widget_->focusWidget() : widget_) : nullptr;
    if (!target) return;
    // Letters and digits share their codes with ASCII; other keys reach our own windows only
    // where they matter (Tab, Enter, Escape, arrows).
    int key = 0;
    QString text;
    switch (virtualKey) {
    case 0x09: key = Qt::Key_Tab; text = "\t"; break;
    case 0x0D: key = Qt::Key_Return; text = "\r"; break;
    case 0x1B: key = Qt::Key_Escape; break;
    case 0x25: key = Qt::Key_Left; break;
    case 0x26: key = Qt::Key_Up; break;
    case 0x27: key = Qt::Key_Right; break;
    case 0x28: key = Qt::Key_Down; break;
    default:
        if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
            key = virtualKey;
            text = QString(QChar(virtualKey)).toLower();
        }
    }
    if (!key) return;
    QKeyEvent* event = new QKeyEvent(down ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::postEvent(target, event);
}

void WidgetWindow::processKeys() { QCoreApplication::processEvents(); }

Desktop& Desktop::instance() {
    static Desktop desktop;
    return desktop;
}

void Desktop::add(DesktopWindow* window) {
    if (!windows_.contains(window)) windows_ << window;
}

void Desktop::remove(DesktopWindow* window) {
    windows_.removeAll(window);
    if (foreground_ == window) foreground_ = nullptr;
}

bool Desktop::setForeground(DesktopWindow* window) {
    if (!window || !window->isAlive()) return false;
    if (!window->bringToFront()) return false;
    foreground_ = window;
    return true;
}

DesktopWindow* Desktop::findByTitle(const QString& title) const {
    for (DesktopWindow* w : windows_)
        if (w->isAlive() && w->title() == title) return w;
    return nullptr;
}

QRect Desktop::workArea() const {
    if (workArea_.isValid()) return workArea_;
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->availableGeometry();
    return QRect(0, 0, 1920, 1080);
}

} // namespace zk
