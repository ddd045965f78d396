#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace zk::paths {
namespace {

QString withSeparator(QString path) {
    if (!path.isEmpty() && !path.endsWith('/')) path += '/';
    return path;
}

QString fromEnvironment(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

} // namespace

QString dataFolderPath() {
    const QString overridden = fromEnvironment("ZERKON_DATA_DIR");
    const QString folder = overridden.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Zerkon"
        : QDir(overridden).absolutePath();
    return withSeparator(folder);
}

QString dataFolder() {
    const QString folder = dataFolderPath();
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    return folder;
}

QString documentsFolder() {
    QString folder = fromEnvironment("ZERKON_DOCUMENTS_DIR");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    return withSeparator(QDir(folder).absolutePath());
}

bool GetSpecialFolder(int folder, QString& path) {
    QString found;
    if (folder == PersonalFolder) found = documentsFolder();
    else if (folder == AppDataFolder) found = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (found.isEmpty() || !QDir().mkpath(found)) return false;
    found = QDir(found).absolutePath();
    if (found.size() > 1 && found.endsWith('/')) found.chop(1);
    path = found;
    return true;
}

QString exeFolder() { return withSeparator(QCoreApplication::applicationDirPath()); }

} // namespace zk::paths
