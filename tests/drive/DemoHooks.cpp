#include "DemoHooks.h"

#include "app/Mainform.h"

#include <QAbstractButton>
#include <QTimer>
#include <cstdio>

namespace zk {

namespace {

void clickAfterStartup(TMain* mainWindow, const QStringList& names) {
    if (!mainWindow->startupRan()) {
        QTimer::singleShot(200, mainWindow, [=] { clickAfterStartup(mainWindow, names); });
        return;
    }
    for (const QString& name : names) {
        if (auto* button = mainWindow->findChild<QAbstractButton*>(name.trimmed())) {
            std::fprintf(stderr, "zerkon: clicking %s\n", qPrintable(name.trimmed()));
            button->click();
        }
    }
}

} // namespace

void armDemoClicks(TMain* mainWindow) {
    const QStringList names = qEnvironmentVariable("ZERKON_DEMO_CLICKS").split(',', Qt::SkipEmptyParts);
    if (!names.isEmpty()) clickAfterStartup(mainWindow, names);
}

} // namespace zk
