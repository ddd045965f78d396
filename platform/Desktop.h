#pragma once
// The desktop as the workflows see it: top-level windows with a title, a placement and a
// foreground state, and key events that go to the foreground window. The main window, the
// driven browser, the driven spreadsheet and the upload file chooser are such windows.
#include <QRect>
#include <QString>
#include <QList>

class QWidget;

namespace zk {

class DesktopWindow {
public:
    virtual ~DesktopWindow();
    virtual QString title() const = 0;
    virtual bool isAlive() const = 0;
    virtual bool bringToFront() = 0;
    // The normal (restored) rectangle, also while minimised or maximised.
    virtual bool placement(QRect& normal) const = 0;
    // Shows the window normally with this rectangle.
    virtual bool setPlacement(const QRect& normal) = 0;
    // One key event as keybd_event would send it (a Windows virtual-key code).
    virtual void sendKey(int virtualKey, bool down) = 0;
    // Lets the window handle the keys sent so far.
    virtual void processKeys() {}
};

// A window of this program.
class WidgetWindow : public DesktopWindow {
public:
    explicit WidgetWindow(QWidget* widget);
    ~WidgetWindow() override;
    QString title() const override;
    bool isAlive() const override;
    bool bringToFront() override;
    bool placement(QRect& normal) const override;
    bool setPlacement(const QRect& normal) override;
    void sendKey(int virtualKey, bool down) override;
    void processKeys() override;
    QWidget* widget() const { return widget_; }

private:
    QWidget* widget_;
};

class Desktop {
public:
    static Desktop& instance();

    void add(DesktopWindow* window);
    void remove(DesktopWindow* window);
    DesktopWindow* foreground() const { return foreground_; }
    // Brings the window to the front and makes it the target of key events.
    bool setForeground(DesktopWindow* window);
    DesktopWindow* findByTitle(const QString& title) const;
    const QList<DesktopWindow*>& windows() const { return windows_; }

    // The primary screen's work area; tests may fix it.
    QRect workArea() const;
    void setWorkArea(const QRect& area) { workArea_ = area; }

private:
    QList<DesktopWindow*> windows_;
    DesktopWindow* foreground_ = nullptr;
    QRect workArea_;
};

} // namespace zk
