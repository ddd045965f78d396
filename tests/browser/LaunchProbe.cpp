// Starts a browser the program's way, prints its process id and waits to be ended: the
// session test kills this program to see that the browser goes with it.
#include "browser/Iectrl.h"
#include "platform/chromium/BrowserWindow.h"
#include "platform/chromium/ChromiumBrowser.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    zk::TIECtrl ie;
    zk::chromium::BrowserSettings settings;
    // "auto" as a second argument: visible where there is a display, as the program starts it.
    settings.headless = argc > 2 && QByteArray(argv[2]) == "auto" ? -1 : 1;
    settings.profileFolder = QString::fromLocal8Bit(argv[1]);
    ie.setSettings(settings);
    if (!ie.FindOrLaunch()) return 1;
    std::printf("%lld\n", static_cast<long long>(ie.session()->processId()));
    if (argc > 3 && ie.GetDocument() == 0 && ie.NavigateWait(QString::fromLocal8Bit(argv[3])) == 0) {
        zk::TIECtrl::SetPlacement(ie.session()->window()->handle(), 20, 30, 700, 500);
        int l = 0, t = 0, w = 0, h = 0;
        zk::TIECtrl::GetPlacement(ie.session()->window()->handle(), l, t, w, h);
        std::printf("%s %d %d %d %d\n", qPrintable(ie.GetTitle()), l, t, w, h);
        std::fflush(stdout);
        ie.Quit();
        return 0;
    }
    std::fflush(stdout);
    return app.exec();
}
