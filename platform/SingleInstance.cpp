#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace zk {

namespace {

// A local socket's path has room for 107 bytes.
constexpr int MaxSocketPath = 107;

QString privateFolderProblem(const QString& folder) {
    const QByteArray name = QFile::encodeName(folder);
    if (!folder.startsWith('/')) return QStringLiteral("not an absolute path");
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) return QString::fromLocal8Bit(std::strerror(errno));
    struct stat st {};
    // lstat: a symlink planted under the name leads wherever its maker wants.
    if (::lstat(name.constData(), &st) != 0) return QString::fromLocal8Bit(std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) return QStringLiteral("not a folder");
    if (st.st_uid != ::geteuid()) return QStringLiteral("belongs to user %1").arg(st.st_uid);
    if ((st.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

} // namespace

QString ownPrivateFolder(const QStringList& candidates, QString* error) {
    QStringList reasons;
    for (const QString& folder : candidates) {
        if (folder.isEmpty()) continue;
        const QString problem = privateFolderProblem(folder);
        if (problem.isEmpty()) return folder;
        reasons << folder + ": " + problem;
    }
    if (error) *error = reasons.join('\n');
    return {};
}

QStringList SingleInstance::defaultFolders() {
    QStringList folders;
    // The runtime folder is made by the system for this user alone; it is used only as it is.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::lstat(QFile::encodeName(runtime).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0)
        folders << runtime;
    // Inside the user's home nobody else can make a name first.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) folders << cache + "/zerkon";
    folders << QStringLiteral("/tmp/zerkon-%1").arg(::geteuid());
    return folders;
}

SingleInstance::SingleInstance(const QString& key) : SingleInstance(key, defaultFolders()) {}

SingleInstance::SingleInstance(const QString& key, const QStringList& folders) : folders_(folders) {
    scope_ = QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

SingleInstance::Result SingleInstance::acquire() {
    const QString name = QStringLiteral("/Zerkon-%1").arg(scope_);
    QStringList usable;
    for (const QString& folder : folders_)
        if (QFile::encodeName(folder + name + ".sock").size() <= MaxSocketPath) usable << folder;
    const QString folder = ownPrivateFolder(usable, &error_);
    if (folder.isEmpty()) return Result::Unavailable;
    lockPath_ = folder + name + ".lock";
    socketName_ = folder + name + ".sock";

    lock_ = std::make_unique<QLockFile>(lockPath_);
    lock_->setStaleLockTime(0); // a lock whose process has gone is stale at once
    if (lock_->tryLock(0)) {
        QLocalServer::removeServer(socketName_);
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server_->listen(socketName_)) {
            error_ = socketName_ + ": " + server_->errorString();
            return Result::Unavailable;
        }
        connect(server_, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* peer = server_->nextPendingConnection()) {
                connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
                    peer->readAll();
                    const bool raised = raise_ && raise_();
                    peer->write(raised ? "raised\n" : "none\n");
                    peer->flush();
                    peer->disconnectFromServer();
                });
                connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            }
        });
        return Result::First;
    }
    qint64 holder = 0;
    QString host, app;
    // Held means a lock file that names a running process; anything else is no running instance.
    if (lock_->error() != QLockFile::LockFailedError || !lock_->getLockInfo(&holder, &host, &app)) {
        error_ = lockPath_ + ": "
            + (lock_->error() == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                             : QStringLiteral("the lock file cannot be read or written"));
        return Result::Unavailable;
    }
    QLocalSocket socket;
    socket.connectToServer(socketName_);
    if (!socket.waitForConnected(2000)) return Result::Inconsistent;
    socket.write("raise\n");
    socket.flush();
    if (!socket.waitForReadyRead(5000)) return Result::Inconsistent;
    return socket.readAll().startsWith("raised") ? Result::Raised : Result::Inconsistent;
}

} // namespace zk
