#pragma once
// The picture preview lives in its own library (libphotoview.so in the program folder), loaded
// at start and called through its PR_* entry points.
#include <QLibrary>
#include <QString>

namespace zk::listing {

class PhotoViewLibrary {
public:
    // False with errorString() when the library or one of its entry points is missing.
    bool load(const QString& exeFolder);
    bool loaded() const { return drawPicture_ != nullptr; }
    QString errorString() const { return error_; }

    int PR_CreateForm() const;
    int PR_GetFormHeight() const;
    int PR_MoveForm(int left, int top) const;
    int PR_ShowForm() const;
    int PR_SetPictureName(int slot, const QString& path) const;
    int PR_DrawPicture() const;
    int PR_CloseForm() const;

private:
    using NoArgs = int (*)();
    using TwoInts = int (*)(int, int);
    using SlotName = int (*)(int, const char*);
    QLibrary library_;
    NoArgs createForm_ = nullptr, getFormHeight_ = nullptr, showForm_ = nullptr, drawPicture_ = nullptr,
           closeForm_ = nullptr;
    TwoInts moveForm_ = nullptr;
    SlotName setPictureName_ = nullptr;
    QString error_;
};

} // namespace zk::listing
