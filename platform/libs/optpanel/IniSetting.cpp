#include "IniSetting.h"

#include "FieldsSettings.h"
#include "OptionDialog.h"
#include "Texts.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QFile>
#include <exception>
#include <memory>
#include <optional>

namespace {

std::optional<QByteArray> fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

int runEditor(const QString& path, const std::optional<QByteArray>& before) {
    zk::optpanel::FieldsSettings settings;
    if (!settings.load(path)) {
        zk::MessageService::instance().show(settings.errorString(), zk::optpanel::texts::CaptionError,
                                            zk::Icon::Exclamation);
        return 0;
    }
    {
        zk::optpanel::OptionDialog dialog(settings);
        zk::MessageService::instance().exec(dialog);
    }
    // The bytes decide: a save that wrote the values the file already had changed nothing.
    return fileBytes(path) != before ? 1 : 0;
}

} // namespace

extern "C" int IniSetting(const char* path) {
    if (!path) return 0;
    const QString file = QString::fromUtf8(path);
    // Called from a program without widgets: the editor brings its own application object.
    std::unique_ptr<QApplication> ownApplication;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "optpanel";
        static char* argv[] = {name, nullptr};
        ownApplication = std::make_unique<QApplication>(argc, argv);
    } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return 0; // a console application cannot show the editor
    }
    const std::optional<QByteArray> before = fileBytes(file);
    try {
        return runEditor(file, before);
    } catch (const std::exception& e) {
        // Nothing may cross the C boundary; say what happened and report whether the file moved.
        zk::MessageService::instance().show(zk::optpanel::texts::Unexpected.arg(QString::fromLocal8Bit(e.what())),
                                            zk::optpanel::texts::CaptionError, zk::Icon::Error);
        return fileBytes(file) != before ? 1 : 0;
    }
}
