#include "app/Program.h"

#include "app/DataFolderSetup.h"
#include "app/Mainform.h"
#include "app/PracticeSite.h"
#include "app/SetupDialog.h"
#include "app/Minform.h"
#include "app/Screenshot.h"
#include "app/TerminationSignal.h"
#include "app/Texts.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/Signals.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <memory>

namespace zk {

bool loadQtTranslations(QCoreApplication& app, QString* missing) {
    // Qt's own dialogs and buttons (the file dialog, "Cancel", "Yes") in the panel's language.
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        if (missing) *missing = folder + QStringLiteral("/qtbase_ja.qm");
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

namespace {

// The data folder the start-up will find usable, made or chosen in the setup window when the
// start-up would not. Empty: the seller closed the window, nothing is started. A practice
// folder's site is started here and lives as long as `practice`.
std::optional<QString> settleDataFolder(const QString& dataFolder, std::unique_ptr<PracticeSite>& practice) {
    // A folder that cannot be resolved, or a file that cannot be read, is left to the start-up's
    // own fatal errors, which name it.
    if (dataFolder.isEmpty()) return dataFolder;
    const setup::FolderState state = setup::inspect(dataFolder);
    QString folder = dataFolder;
    if (state.kind == setup::FolderState::Kind::Empty || state.kind == setup::FolderState::Kind::Incomplete) {
        SetupDialog dialog(dataFolder, state, setup::defaultsFolder(paths::exeFolder()));
        if (MessageService::instance().exec(dialog) != QDialog::Accepted) return std::nullopt;
        folder = dialog.folder();
        practice = dialog.takePracticeSite();
    }
    if (!practice && PracticeSite::isPracticeFolder(folder)) {
        practice = std::make_unique<PracticeSite>();
        const QString error = practice->start(folder, false);
        if (!error.isEmpty()) {
            MessageService::instance().show(texts::PracticeStartFailed.arg(error), texts::CaptionFatal, Icon::Error);
            return std::nullopt;
        }
    }
    return folder;
}

} // namespace

int runProgram(int argc, char** argv, const std::function<void(TMain*)>& whenShown) {
    ignoreBrokenPipes();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zerkon");
    // The desktop matches the window to its menu entry and icon by this name.
    QApplication::setDesktopFileName(QStringLiteral(ZERKON_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false);

    // Resolved once here and handed down: the lock, the main window and through its settings
    // everything that reads or writes the seller's files.
    QString dataFolder = paths::dataFolder();
    SingleInstance instance(dataFolder);
    switch (instance.acquire()) {
    case SingleInstance::Result::Raised:
        return 0;
    case SingleInstance::Result::Inconsistent:
        MessageService::instance().show(texts::MutexInconsistent);
        return 0;
    case SingleInstance::Result::Unavailable:
        MessageService::instance().show(texts::MutexUnavailable + instance.error(), {}, Icon::Error);
        return 1;
    case SingleInstance::Result::First:
        break;
    }

    QString missingTranslations;
    if (!loadQtTranslations(app, &missingTranslations))
        std::fprintf(stderr, "zerkon: Qt's Japanese texts are missing (%s); its own dialogs show English\n",
                     qPrintable(missingTranslations));

    std::unique_ptr<PracticeSite> practice;
    const std::optional<QString> settled = settleDataFolder(dataFolder, practice);
    if (!settled) return 1; // no usable data folder: the start stopped
    // Another folder chosen: it is locked too, so that one Zerkon runs per folder.
    std::unique_ptr<SingleInstance> chosenInstance;
    if (*settled != dataFolder) {
        dataFolder = *settled;
        chosenInstance = std::make_unique<SingleInstance>(dataFolder);
        switch (chosenInstance->acquire()) {
        case SingleInstance::Result::First: break;
        case SingleInstance::Result::Raised: return 0;
        case SingleInstance::Result::Inconsistent:
            MessageService::instance().show(texts::MutexInconsistent);
            return 0;
        case SingleInstance::Result::Unavailable:
            MessageService::instance().show(texts::MutexUnavailable + chosenInstance->error(), {}, Icon::Error);
            return 1;
        }
    }

    try {
        TMain main(dataFolder);
        TMinForm1 miniBar;
        main.setMiniBar(&miniBar);
        main.setPracticeSite(practice.get());
        const auto raise = [&main] {
            main.show();
            main.raise();
            main.activateWindow();
            return true;
        };
        instance.setRaiseHandler(raise);
        if (chosenInstance) chosenInstance->setRaiseHandler(raise);
        if (main.ended()) return 1;
        main.show();
        armScreenshot(&main);
        if (whenShown) whenShown(&main);
        closeOnTerminationSignals(&main);
        return app.exec();
    } catch (const std::exception& e) {
        MessageService::instance().show(QString::fromLocal8Bit(e.what()), {}, Icon::Error);
        return 1;
    }
}

} // namespace zk
