#include "SetumeiTuika.h"

#include "AppendWindow.h"
#include "platform/Paths.h"

#include <QPointer>

extern "C" void SetumeiTuikaMain(void* ie) {
    static QPointer<zk::textplus::AppendWindow> window;
    if (!ie) return;
    if (!window) window = new zk::textplus::AppendWindow(*static_cast<zk::TIECtrl*>(ie), zk::paths::dataFolder());
    window->show();
    window->raise();
    window->activateWindow();
}
