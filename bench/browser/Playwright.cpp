#include "Playwright.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace zk::bench {
namespace {
const char* kPlaywrightVersion = "1.65.2";
}

QString playwrightModules(const QString& folder) {
    if (QFile::exists(folder + "/node_modules/playwright-core/package.json")) return folder + "/node_modules";
    QDir().mkpath(folder);
    QProcess npm;
    npm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    npm.start("npm", {"install", "--prefix", folder, "--no-audit", "--no-fund", "--no-save",
                      QString("playwright-core@%1").arg(kPlaywrightVersion)});
    npm.waitForFinished(300000);
    return QFile::exists(folder + "/node_modules/playwright-core/package.json") ? folder + "/node_modules" : QString();
}

QByteArray runNode(const QString& modules, const QString& script, const QStringList& arguments, const QString& scratch,
                   int timeoutMs) {
    QProcess node;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NODE_PATH", modules);
    for (const char* k : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
        const QString dir = scratch + "/playwright/" + k;
        QDir().mkpath(dir);
        env.insert(k, dir);
    }
    node.setProcessEnvironment(env);
    node.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    node.start("node", QStringList{script} + arguments);
    QDeadlineTimer deadline(timeoutMs);
    while (!node.waitForFinished(20)) {
        QCoreApplication::processEvents();
        if (deadline.hasExpired() || node.state() == QProcess::NotRunning) break;
    }
    if (node.state() != QProcess::NotRunning) {
        node.kill(); // our own child, by its pid
        node.waitForFinished(5000);
        return {};
    }
    return node.exitCode() == 0 ? node.readAllStandardOutput() : QByteArray();
}

} // namespace zk::bench
