#include "OfficePipe.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zk::calc {

QString officePipePath(const QString& pipeName) {
    // The office's rule: the shared temporary folder, or the alternate one when that cannot be written.
    const char* folder = ::access("/tmp", W_OK) == 0 ? "/tmp" : "/var/tmp";
    return QStringLiteral("%1/OSL_PIPE_%2_%3").arg(QLatin1String(folder)).arg(::geteuid()).arg(pipeName);
}

PipeOwner pipeOwner(const QString& path, pid_t office, QString* detail) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return PipeOwner::Absent;
    if (!S_ISSOCK(st.st_mode)) {
        if (detail) *detail = path + ": not a socket";
        return PipeOwner::Foreign;
    }
    if (st.st_uid != ::geteuid()) {
        if (detail) *detail = path + QStringLiteral(": bound by user %1").arg(st.st_uid);
        return PipeOwner::Foreign;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (detail) *detail = QString::fromLocal8Bit(std::strerror(errno));
        return PipeOwner::Foreign;
    }
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof addr.sun_path) {
        ::close(fd);
        if (detail) *detail = path + ": path too long";
        return PipeOwner::Foreign;
    }
    std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        // A socket of ours nobody listens on yet: the office is still binding it.
        return PipeOwner::Absent;
    }
    ucred peer {};
    socklen_t size = sizeof peer;
    const bool known = ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0;
    ::close(fd);
    if (!known || peer.pid != office || peer.uid != ::geteuid()) {
        if (detail) *detail = path + QStringLiteral(": process %1 of user %2 listens on it").arg(peer.pid).arg(peer.uid);
        return PipeOwner::Foreign;
    }
    return PipeOwner::Office;
}

QStringList pipesBoundBy(pid_t office) {
    QStringList paths;
    if (office <= 1) return paths;
    QSet<QByteArray> inodes;
    const QString fds = QStringLiteral("/proc/%1/fd").arg(office);
    for (const QString& fd : QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot)) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(QFile::encodeName(fds + "/" + fd).constData(), target, sizeof target - 1);
        const QByteArray link(target, n > 0 ? int(n) : 0);
        if (link.startsWith("socket:[") && link.endsWith(']')) inodes.insert(link.mid(8, link.size() - 9));
    }
    // "Num RefCount Protocol Flags Type St Inode Path", the path only for a socket bound to one.
    QFile table(QStringLiteral("/proc/net/unix"));
    if (inodes.isEmpty() || !table.open(QIODevice::ReadOnly)) return paths;
    const QString ours = officePipePath(QString());
    table.readLine();
    for (QByteArray line = table.readLine(); !line.isEmpty(); line = table.readLine()) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 8 || !inodes.contains(fields[6])) continue;
        const QString path = QFile::decodeName(fields.mid(7).join(' '));
        if (path.startsWith(ours) && !paths.contains(path)) paths << path;
    }
    return paths;
}

void removeDeadPipes(const QStringList& paths) {
    // Absent is a socket of ours that refuses a connection (or no file at all); one another
    // process listens on reads as Foreign and stays.
    for (const QString& path : paths)
        if (pipeOwner(path, 0, nullptr) == PipeOwner::Absent) QFile::remove(path);
}

} // namespace zk::calc
