#pragma once
// The option editor for FieldsDefine.ini lives in its own library, loaded at start.
#include <QLibrary>
#include <QString>

namespace zk {

class OptionLibrary {
public:
    // Loads liboptpanel.so from the program folder; false with errorString() on failure.
    bool load(const QString& exeFolder);
    QString errorString() const { return error_; }
    // The editor's verdict: 1 exactly when it changed the file.
    int IniSetting(const QString& path) const;

private:
    using IniSettingFn = int (*)(const char*);
    QLibrary library_;
    IniSettingFn iniSetting_ = nullptr;
    QString error_;
};

} // namespace zk
