#include "platform/Processes.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <unistd.h>

namespace zk::processes {

QSet<QByteArray> listeningTcpSockets(int port) {
    QSet<QByteArray> inodes;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile f(QString::fromLatin1(table));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (int i = 1; i < lines.size(); ++i) {
            // sl local_address rem_address st ... inode: st 0A is listening.
            const QList<QByteArray> cols = lines[i].simplified().split(' ');
            if (cols.size() < 10 || cols[3] != "0A") continue;
            const QByteArray& local = cols[1];
            if (port > 0 && local.mid(local.lastIndexOf(':') + 1).toInt(nullptr, 16) != port) continue;
            inodes.insert(cols[9]);
        }
    }
    return inodes;
}

QSet<QByteArray> socketsOf(qint64 pid) {
    QSet<QByteArray> inodes;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        // readlink, not QFile::symLinkTarget: a socket's target is no path and Qt makes one of it.
        char buf[128];
        const ssize_t n = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), buf, sizeof buf - 1);
        if (n <= 0) continue;
        const QByteArray target(buf, int(n));
        if (target.startsWith("socket:[") && target.endsWith(']')) inodes.insert(target.mid(8, target.size() - 9));
    }
    return inodes;
}

QString executableHolding(const QSet<QByteArray>& sockets) {
    if (sockets.isEmpty()) return {};
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 id = pid.toLongLong(&numeric);
        if (!numeric || id <= 0) continue;
        if (socketsOf(id).intersects(sockets)) return QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(id));
    }
    return {};
}

} // namespace zk::processes
