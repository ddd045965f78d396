#include "PhotoView.h"

#include "PreviewWindow.h"

#include <QPointer>

using zk::photoview::PreviewWindow;

namespace {

QPointer<PreviewWindow>& window() {
    static QPointer<PreviewWindow> w;
    return w;
}

} // namespace

extern "C" int PR_CreateForm() {
    if (!window()) window() = new PreviewWindow;
    return 0;
}

extern "C" int PR_GetFormHeight() { return window() ? window()->height() : -1; }

extern "C" int PR_MoveForm(int left, int top) {
    if (!window()) return -1;
    window()->move(left, top);
    return 0;
}

extern "C" int PR_ShowForm() {
    if (!window()) return -1;
    window()->show();
    return 0;
}

extern "C" int PR_SetPictureName(int slot, const char* path) {
    if (!window() || slot < 0 || slot >= PreviewWindow::Slots) return -1;
    window()->setPictureName(slot, path ? QString::fromUtf8(path) : QString());
    return 0;
}

extern "C" int PR_DrawPicture() {
    if (!window()) return -1;
    window()->draw();
    return 0;
}

extern "C" int PR_CloseForm() {
    if (!window()) return -1;
    delete window().data();
    return 0;
}
