#pragma once
// The description-append tool lives in its own library, loaded at start like the option editor.
#include <QLibrary>
#include <QString>
#include <memory>

namespace zk {

class TIECtrl;
class TextPlusHost;

class TextPlusLibrary {
public:
    // Loads libtextplus.so from the program folder; false with errorString() on failure.
    bool load(const QString& exeFolder);
    QString errorString() const { return error_; }
    bool loaded() const { return setumeiTuikaMain_ != nullptr; }
    TextPlusLibrary();
    ~TextPlusLibrary();
    // Opens the tool over the browser session and the data folder; it returns at once.
    void SetumeiTuikaMain(TIECtrl& ie, const QString& dataFolder);

private:
    using SetumeiTuikaMainFn = void (*)(void*);
    QLibrary library_;
    SetumeiTuikaMainFn setumeiTuikaMain_ = nullptr;
    QString error_;
    // Made at the first opening; the tool's window keeps it as long as the program runs.
    std::unique_ptr<TextPlusHost> host_;
};

} // namespace zk
