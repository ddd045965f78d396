#pragma once
// The description-append tool lives in its own library, loaded at start like the option editor.
#include <QLibrary>
#include <QString>

namespace zk {

class TIECtrl;

class TextPlusLibrary {
public:
    // Loads libtextplus.so from the program folder; false with errorString() on failure.
    bool load(const QString& exeFolder);
    QString errorString() const { return error_; }
    bool loaded() const { return setumeiTuikaMain_ != nullptr; }
    // Opens the tool over the browser session; it returns at once.
    void SetumeiTuikaMain(TIECtrl* ie) const;

private:
    using SetumeiTuikaMainFn = void (*)(void*);
    QLibrary library_;
    SetumeiTuikaMainFn setumeiTuikaMain_ = nullptr;
    QString error_;
};

} // namespace zk
