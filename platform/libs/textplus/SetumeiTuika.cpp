#include "SetumeiTuika.h"

#include "AppendWindow.h"

#include <QPointer>

extern "C" void SetumeiTuikaMain(void* host) {
    static QPointer<zk::textplus::AppendWindow> window;
    if (!host) return;
    if (!window) window = new zk::textplus::AppendWindow(*static_cast<zk::textplus::Host*>(host));
    window->show();
    window->raise();
    window->activateWindow();
}
