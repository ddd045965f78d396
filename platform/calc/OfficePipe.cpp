#include "OfficePipe.h"

#include <QFile>

#include <cerrno>
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

} // namespace zk::calc
