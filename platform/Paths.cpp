#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
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

QString chosenDataFolderFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Zerkon/datafolder";
}

QString chosenDataFolder() {
    QFile file(chosenDataFolderFile());
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString folder = QString::fromUtf8(file.readLine(4096)).trimmed();
    return QDir::isAbsolutePath(folder) ? folder : QString();
}

bool chooseDataFolder(const QString& folder) {
    const QString path = chosenDataFolderFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QDir(folder).absolutePath().toUtf8() + "\n");
    return file.commit();
}

QString dataFolderPath() {
    QString folder = fromEnvironment("ZERKON_DATA_DIR");
    if (folder.isEmpty()) folder = chosenDataFolder();
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Zerkon";
    return withSeparator(QDir(folder).absolutePath());
}

QString dataFolder() {
    const QString folder = dataFolderPath();
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    return folder;
}

DataFolderFault claimDataFolder(const QString& dataFolder) {
    using Kind = DataFolderFault::Kind;
    const auto systemError = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    if (dataFolder.isEmpty()) return {Kind::Missing, {}};
    // Judged and restricted through one descriptor, so that what is made 0700 is what was judged.
    const QByteArray name = QFile::encodeName(QDir(dataFolder).absolutePath());
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOTDIR) return {Kind::NotAFolder, {}};
        return {Kind::Missing, systemError(error)};
    }
    DataFolderFault fault;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        fault = {Kind::Missing, systemError(errno)};
    } else if (st.st_uid != ::geteuid()) {
        const passwd* pw = ::getpwuid(st.st_uid);
        fault = {Kind::OtherOwner, pw ? QStringLiteral("%1 (uid %2)").arg(QString::fromLocal8Bit(pw->pw_name)).arg(st.st_uid)
                                      : QStringLiteral("uid %1").arg(st.st_uid)};
    } else if ((st.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0) {
        fault = {Kind::CannotRestrict, systemError(errno)};
    }
    ::close(fd);
    return fault;
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

QString writableDocumentsFolder(QString& unusable, DocumentsFault* fault) {
    QString folder = fromEnvironment("ZERKON_DOCUMENTS_DIR");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    folder = QDir(folder).absolutePath();
    const DocumentsFault why = !QDir().mkpath(folder) ? DocumentsFault::CannotMake
                               : !canWriteIn(folder)  ? DocumentsFault::CannotWrite
                                                      : DocumentsFault::None;
    if (fault) *fault = why;
    if (why != DocumentsFault::None) {
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
