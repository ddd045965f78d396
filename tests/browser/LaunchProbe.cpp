// Starts a browser the program's way, prints its process id and waits to be ended: the
// session test kills this program to see that the browser goes with it.
#include "browser/Iectrl.h"
#include "platform/chromium/ChromiumBrowser.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    zk::TIECtrl ie;
    zk::chromium::BrowserSettings settings;
    settings.headless = 1;
    settings.profileFolder = QString::fromLocal8Bit(argv[1]);
    ie.setSettings(settings);
    if (!ie.FindOrLaunch()) return 1;
    std::printf("%lld\n", static_cast<long long>(ie.session()->processId()));
    std::fflush(stdout);
    return app.exec();
}
