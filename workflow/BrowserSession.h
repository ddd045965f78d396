#pragma once
// The driven browser for the whole run: its wrapper, whether one is attached, its top-level
// window, and the one KeySender that types into whatever window is in front. The main window
// owns the objects; the types are only named here.
#include <QtGlobal>

namespace zk {
class TIECtrl;
class KeySender;
// A top-level window of the driven browser; 0 is none.
using WindowHandle = quintptr;
} // namespace zk

namespace zk::workflow {

struct BrowserSession {
    TIECtrl* IE = nullptr;
    int IEConnected = 0; // 1 while a browser is attached
    WindowHandle IEWindow = 0;
    KeySender* Keys = nullptr; // none until the start-up step made it
};

} // namespace zk::workflow
