#include "app/OptionLibrary.h"

#include "app/Mainform.h"
#include "app/Texts.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QApplication>

namespace zk {

bool OptionLibrary::load(const QString& exeFolder) {
    library_.setFileName(exeFolder + "liboptpanel.so");
    if (!library_.load()) {
        error_ = library_.errorString();
        return false;
    }
    iniSetting_ = reinterpret_cast<IniSettingFn>(library_.resolve("IniSetting"));
    if (!iniSetting_) {
        error_ = library_.errorString();
        return false;
    }
    return true;
}

int OptionLibrary::IniSetting(const QString& path) const {
    return iniSetting_ ? iniSetting_(path.toUtf8().constData()) : 0;
}

void TMain::SetOptionClick() {
    // Never empty: the start-up ends without a data folder.
    const QString& folder = services_.settings.dataFolder();
    if (optionLibrary_->IniSetting(folder + "FieldsDefine.ini") == 1 && FieldDefs && FieldDefs->LoadFromFolder(folder) != 0)
        endApplication();
}

} // namespace zk
