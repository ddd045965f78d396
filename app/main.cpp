// Process entry: one Zerkon per user, the main window and the mini bar, then the event loop.
#include "app/CommandLine.h"
#include "app/Mainforinst.h"
#include "app/Minform.h"
#include "app/TerminationSignal.h"
#include "app/Texts.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/Signals.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <exception>

int main(int argc, char** argv) {
    if (const std::optional<int> answered = zk::answerCommandLine(argc, argv)) return *answered;
    zk::ignoreBrokenPipes();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zerkon");
    // The desktop matches the window to its menu entry and icon by this name.
    QApplication::setDesktopFileName(ZERKON_APP_ID);
    QApplication::setQuitOnLastWindowClosed(false);

    zk::SingleInstance instance(zk::paths::dataFolder());
    switch (instance.acquire()) {
    case zk::SingleInstance::Result::Raised:
        return 0;
    case zk::SingleInstance::Result::Inconsistent:
        zk::MessageService::instance().show(zk::texts::MutexInconsistent);
        return 0;
    case zk::SingleInstance::Result::Unavailable:
        zk::MessageService::instance().show(zk::texts::MutexUnavailable + instance.error(), {}, zk::Icon::Error);
        return 1;
    case zk::SingleInstance::Result::First:
        break;
    }

    try {
        zk::TMainForInst1 main;
        zk::TMinForm1 miniBar;
        main.setMiniBar(&miniBar);
        miniBar.setEnteredHandler([&main] { main.MiniBarEntered(); });
        instance.setRaiseHandler([&main] {
            main.show();
            main.raise();
            main.activateWindow();
            return true;
        });
        if (main.ended()) return 1;
        main.show();
        zk::closeOnTerminationSignals(&main);
        return app.exec();
    } catch (const std::exception& e) {
        zk::MessageService::instance().show(QString::fromLocal8Bit(e.what()), {}, zk::Icon::Error);
        return 1;
    }
}
