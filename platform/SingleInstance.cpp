#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace zk {

SingleInstance::SingleInstance(const QString& key) {
    const QByteArray scope = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    const QString base = QString("%1/Zerkon-%2-%3").arg(QDir::tempPath()).arg(getuid()).arg(QString::fromLatin1(scope));
    lockPath_ = base + ".lock";
    socketName_ = base + ".sock";
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

SingleInstance::Result SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    lock_->setStaleLockTime(0); // a lock whose process has gone is stale at once
    if (lock_->tryLock(0)) {
        QLocalServer::removeServer(socketName_);
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        server_->listen(socketName_);
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
    QLocalSocket socket;
    socket.connectToServer(socketName_);
    if (!socket.waitForConnected(2000)) return Result::Inconsistent;
    socket.write("raise\n");
    socket.flush();
    if (!socket.waitForReadyRead(5000)) return Result::Inconsistent;
    return socket.readAll().startsWith("raised") ? Result::Raised : Result::Inconsistent;
}

} // namespace zk
