#include "app/OptionLibrary.h"

#include "app/Mainform.h"
#include "app/PracticeSite.h"
#include "app/SiteCheckWindow.h"
#include "fields/SiteCheckRun.h"
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

void TMain::SiteCheckClick() {
    workflow::BusyGuard busy(*this);
    workflow::Services& s = services_;
    if (!s.browser.IE || !s.carry.FieldDefs) return;
    const browser::SiteCheckReport report = browser::SiteCheck::run(
        *s.browser.IE, s.settings, fields::siteCheckInput(s.settings, *s.carry.FieldDefs, s.carry.LastCategory));
    // A check that held spares the next run its own.
    if (report.outcome == browser::SiteCheckReport::Outcome::AllHold) browser::SiteCheck::setHeldThisStart(true);
    busy.ready();
    SiteCheckWindow window(report, this);
    MessageService::instance().exec(window);
}

void TMain::PracticeResetClick() {
    if (!practice_) return;
    MessageService& say = MessageService::instance();
    if (say.show(texts::PracticeResetQuestion, texts::PracticeResetCaption, Icon::Question, Buttons::YesNo) != Answer::Yes)
        return;
    const QString error = practice_->reset();
    if (error.isEmpty()) say.show(texts::PracticeResetDone, texts::PracticeResetCaption, Icon::Information);
    else say.show(texts::PracticeResetFailed.arg(error), texts::PracticeResetCaption, Icon::Error);
}

} // namespace zk
