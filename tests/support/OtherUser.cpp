#include "OtherUser.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zk::test {

namespace {

const passwd* other() { return ::getpwnam("nobody"); }

} // namespace

bool otherUserAvailable(QString* why) {
    if (::geteuid() != 0) {
        if (why) *why = QStringLiteral("not root: cannot act as another user");
        return false;
    }
    if (!other()) {
        if (why) *why = QStringLiteral("no account named nobody");
        return false;
    }
    return true;
}

uid_t otherUid() { return other() ? other()->pw_uid : uid_t(-1); }

bool giveToOtherUser(const QString& path) {
    const passwd* pw = other();
    return pw && ::lchown(QFile::encodeName(path).constData(), pw->pw_uid, pw->pw_gid) == 0;
}

int runAsOtherUser(const std::function<int()>& work) {
    const passwd* pw = other();
    if (!pw) return -1;
    const uid_t uid = pw->pw_uid;
    const gid_t gid = pw->pw_gid;
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0) ::_exit(255);
        ::_exit(work() & 0x7f);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

ForeignListener::ForeignListener(const QString& path, QByteArray reply) : path_(path) {
    const passwd* pw = other();
    if (!pw) return;
    const uid_t uid = pw->pw_uid;
    const gid_t gid = pw->pw_gid;
    const QByteArray name = QFile::encodeName(path);
    int ready[2];
    if (::pipe(ready) != 0) return;
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here on.
        ::close(ready[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0) ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, name.constData(), sizeof addr.sun_path - 1);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) ::_exit(3);
        (void)!::write(ready[1], "1", 1);
        ::close(ready[1]);
        for (;;) {
            const int peer = ::accept(fd, nullptr, nullptr);
            if (peer < 0) continue;
            char buffer[256];
            pollfd p {peer, POLLIN, 0};
            if (::poll(&p, 1, 2000) > 0 && ::read(peer, buffer, sizeof buffer) > 0 && !reply.isEmpty())
                (void)!::write(peer, reply.constData(), size_t(reply.size()));
            ::close(peer);
        }
    }
    ::close(ready[1]);
    char byte = 0;
    pollfd p {ready[0], POLLIN, 0};
    const bool up = pid > 0 && ::poll(&p, 1, 5000) > 0 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (pid > 0 && !up) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return;
    }
    pid_ = pid;
}

ForeignListener::~ForeignListener() {
    if (pid_ > 1) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (pid_ > 0) QFile::remove(path_);
}

} // namespace zk::test
