#include "app/Program.h"

#include "app/Mainform.h"
#include "app/Minform.h"
#include "app/Screenshot.h"
#include "app/TerminationSignal.h"
#include "app/Texts.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/Signals.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <exception>

namespace zk {

int runProgram(int argc, char** argv, const std::function<void(TMain*)>& whenShown) {
    ignoreBrokenPipes();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zerkon");
    // The desktop matches the window to its menu entry and icon by this name.
    QApplication::setDesktopFileName(QStringLiteral(ZERKON_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false);

    // Resolved once here and handed down: the lock, the main window and through its settings
    // everything that reads or writes the seller's files.
    const QString dataFolder = paths::dataFolder();
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

    try {
        TMain main(dataFolder);
        TMinForm1 miniBar;
        main.setMiniBar(&miniBar);
        instance.setRaiseHandler([&main] {
            main.show();
            main.raise();
            main.activateWindow();
            return true;
        });
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
