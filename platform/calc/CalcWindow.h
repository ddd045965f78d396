#pragma once
// The spreadsheet's window on the desktop: the frame of the workbook being driven. It can be
// placed, brought to the front and typed into (keys go through the office's own key injection),
// and while the close veto is on, the user cannot close it or its workbook.
#include "platform/Desktop.h"

#include <memory>

namespace zk::calc {

struct AppState;

class CalcWindow : public DesktopWindow {
public:
    explicit CalcWindow(std::weak_ptr<AppState> app);
    ~CalcWindow() override;

    QString title() const override;
    bool isAlive() const override;
    bool bringToFront() override;
    bool placement(QRect& normal) const override;
    bool setPlacement(const QRect& normal) override;
    void sendKey(int virtualKey, bool down) override;
    void processKeys() override;

    // The window state constants of the application (normal, maximised, minimised).
    int windowState() const;
    void setWindowState(int state);

    // What the window's close button does; false when the window refused to close.
    bool close();

    struct Impl;
    Impl& impl() { return *d; }

private:
    std::unique_ptr<Impl> d;
};

} // namespace zk::calc
