#include "listing/PhotoViewLibrary.h"

namespace zk::listing {

bool PhotoViewLibrary::load(const QString& exeFolder) {
    library_.setFileName(exeFolder + "libphotoview.so");
    if (!library_.load()) {
        error_ = library_.errorString();
        return false;
    }
    auto entry = [this](const char* name) {
        QFunctionPointer f = library_.resolve(name);
        if (!f && error_.isEmpty()) error_ = library_.errorString();
        return f;
    };
    createForm_ = reinterpret_cast<NoArgs>(entry("PR_CreateForm"));
    getFormHeight_ = reinterpret_cast<NoArgs>(entry("PR_GetFormHeight"));
    moveForm_ = reinterpret_cast<TwoInts>(entry("PR_MoveForm"));
    showForm_ = reinterpret_cast<NoArgs>(entry("PR_ShowForm"));
    setPictureName_ = reinterpret_cast<SlotName>(entry("PR_SetPictureName"));
    closeForm_ = reinterpret_cast<NoArgs>(entry("PR_CloseForm"));
    drawPicture_ = reinterpret_cast<NoArgs>(entry("PR_DrawPicture"));
    if (!error_.isEmpty()) {
        drawPicture_ = nullptr;
        return false;
    }
    return true;
}

// Every call is harmless while the library is not loaded.
int PhotoViewLibrary::PR_CreateForm() const { return loaded() ? createForm_() : 0; }
int PhotoViewLibrary::PR_GetFormHeight() const { return loaded() ? getFormHeight_() : 0; }
int PhotoViewLibrary::PR_MoveForm(int left, int top) const { return loaded() ? moveForm_(left, top) : 0; }
int PhotoViewLibrary::PR_ShowForm() const { return loaded() ? showForm_() : 0; }
int PhotoViewLibrary::PR_SetPictureName(int slot, const QString& path) const {
    return loaded() ? setPictureName_(slot, path.toUtf8().constData()) : 0;
}
int PhotoViewLibrary::PR_DrawPicture() const { return loaded() ? drawPicture_() : 0; }
int PhotoViewLibrary::PR_CloseForm() const { return loaded() ? closeForm_() : 0; }

} // namespace zk::listing
