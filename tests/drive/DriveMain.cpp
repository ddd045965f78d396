// zerkon-drive: the panel of Zerkon, as the program starts it, with the hands of an unattended
// seller. It is not shipped: `make run` uses it where there is no display, to press the panel's
// own buttons on the sample data (ZERKON_DEMO_ROAD) and to take screenshots (ZERKON_SCREENSHOT).
#include "DemoHooks.h"
#include "DemoRoad.h"
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
    zk::ignoreBrokenPipes();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zerkon");
    QApplication::setQuitOnLastWindowClosed(false);

    zk::SingleInstance instance(zk::paths::dataFolder());
    switch (instance.acquire()) {
    case zk::SingleInstance::Result::Raised:
        return 0;
    case zk::SingleInstance::Result::Inconsistent:
        zk::MessageService::instance().show(zk::texts::MutexInconsistent);
        return 0;
    case zk::SingleInstance::Result::First:
        break;
    }

    try {
        zk::TMainForInst1 main;
        zk::TMinForm1 miniBar;
        main.setMiniBar(&miniBar);
        miniBar.setEnteredHandler([&main] { main.MiniBarEntered(); });
        if (main.ended()) return 1;
        main.show();
        zk::armScreenshot(&main);
        zk::runDemoRoad(&main);
        zk::closeOnTerminationSignals(&main);
        return app.exec();
    } catch (const std::exception& e) {
        zk::MessageService::instance().show(QString::fromLocal8Bit(e.what()), {}, zk::Icon::Error);
        return 1;
    }
}
