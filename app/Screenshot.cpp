#include "app/Screenshot.h"

#include "app/Mainform.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace zk {

namespace {

void takeScreenshot(TMain* mainWindow, const QString& file) {
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    // Offscreen there is no screen to grab: take the window itself.
    if (picture.isNull() || QGuiApplication::platformName() == "offscreen") picture = mainWindow->grab();
    // Both pages of the panel alone, their see-through parts transparent.
    for (int page = 0; page < 2; ++page) {
        if (auto* side = mainWindow->findChild<QAbstractButton*>(QStringLiteral("SideButton"))) side->click();
        QImage panel = mainWindow->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QRegion shape = mainWindow->mask();
        if (!shape.isEmpty())
            for (int y = 0; y < panel.height(); ++y)
                for (int x = 0; x < panel.width(); ++x)
                    if (!shape.contains(QPoint(x, y))) panel.setPixel(x, y, 0);
        panel.save(QString(file).replace(".png", !mainWindow->subPageShown() ? "-main-page.png" : "-sub-page.png"));
    }
    if (picture.save(file)) std::fprintf(stderr, "zerkon: screenshot written to %s\n", qPrintable(file));
    else std::fprintf(stderr, "zerkon: could not write the screenshot %s\n", qPrintable(file));
    if (qEnvironmentVariableIntValue("ZERKON_QUIT_AFTER_SCREENSHOT") == 1) mainWindow->close();
}

void afterStartup(TMain* mainWindow, const QString& file, int delay) {
    if (!mainWindow->startupRan()) {
        QTimer::singleShot(200, mainWindow, [=] { afterStartup(mainWindow, file, delay); });
        return;
    }
    QTimer::singleShot(delay, mainWindow, [=] { takeScreenshot(mainWindow, file); });
}

} // namespace

void armScreenshot(TMain* mainWindow) {
    const QString file = qEnvironmentVariable("ZERKON_SCREENSHOT");
    if (file.isEmpty()) return;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("ZERKON_SCREENSHOT_DELAY", &ok);
    if (!ok) delay = 3000;
    afterStartup(mainWindow, file, delay);
}

} // namespace zk
