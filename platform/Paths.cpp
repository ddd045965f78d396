#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

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

bool protectSellerFiles(const QString& dataFolder) {
    const auto restrict = [](const QString& path, mode_t mode) {
        const QByteArray name = QFile::encodeName(path);
        struct stat st {};
        // A link is left alone: chmod would change whatever it points to.
        if (::lstat(name.constData(), &st) != 0) return errno == ENOENT;
        if (S_ISLNK(st.st_mode) || st.st_uid != ::geteuid()) return true;
        return (st.st_mode & 07777) == mode || ::chmod(name.constData(), mode) == 0;
    };
    if (dataFolder.isEmpty()) return false;
    bool ok = restrict(QDir(dataFolder).absolutePath(), 0700);
    for (const char* file : {"System.ini", "FieldsDefine.ini"})
        ok = restrict(QDir(dataFolder).filePath(QLatin1String(file)), 0600) && ok;
    return ok;
}

QString documentsFolder() {
    QString folder = fromEnvironment("ZERKON_DOCUMENTS_DIR");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    return withSeparator(QDir(folder).absolutePath());
}

QString writableDocumentsFolder(QString& unusable) {
    QString folder = fromEnvironment("ZERKON_DOCUMENTS_DIR");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    folder = QDir(folder).absolutePath();
    if (!QDir().mkpath(folder) || !canWriteIn(folder)) {
        unusable = folder;
        return {};
    }
    return withSeparator(folder);
}

bool canWriteIn(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zerkon-probe-XXXXXX")));
    return probe.open();
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
