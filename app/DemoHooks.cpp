#include "DemoHooks.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace zk {

void armScreenshot(QWidget* mainWindow) {
    const QString file = qEnvironmentVariable("ZERKON_SCREENSHOT");
    if (file.isEmpty()) return;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("ZERKON_SCREENSHOT_DELAY", &ok);
    if (!ok) delay = 3000;
    QTimer::singleShot(delay, mainWindow, [mainWindow, file] {
        QScreen* screen = QGuiApplication::primaryScreen();
        QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
        // Offscreen there is no screen to grab: take the window itself.
        if (picture.isNull() || QGuiApplication::platformName() == "offscreen") picture = mainWindow->grab();
        // The panel alone, its see-through parts transparent: what the seller sees of it.
        QImage panel = mainWindow->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QRegion shape = mainWindow->mask();
        if (!shape.isEmpty())
            for (int y = 0; y < panel.height(); ++y)
                for (int x = 0; x < panel.width(); ++x)
                    if (!shape.contains(QPoint(x, y))) panel.setPixel(x, y, 0);
        panel.save(QString(file).replace(".png", "-panel.png"));
        if (picture.save(file)) std::fprintf(stderr, "zerkon: screenshot written to %s\n", qPrintable(file));
        else std::fprintf(stderr, "zerkon: could not write the screenshot %s\n", qPrintable(file));
        if (qEnvironmentVariableIntValue("ZERKON_QUIT_AFTER_SCREENSHOT") == 1) mainWindow->close();
    });
}

} // namespace zk
