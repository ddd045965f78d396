#pragma once
// Another local account (nobody) for tests of what a second user of the machine can do first:
// take a name, listen on a socket. Needs root to become that user; available() says why not.
#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/types.h>

namespace zk::test {

// Whether the tests can act as another user; otherwise the reason to skip.
bool otherUserAvailable(QString* why);
uid_t otherUid();
// Hands a file or folder to the other user.
bool giveToOtherUser(const QString& path);
// Runs `work` in a child process that became the other user, and returns what it returned
// (-1 when the child could not become that user or did not end normally). Only for work that
// ends by itself: the child is waited for.
int runAsOtherUser(const std::function<int()>& work);

// A local socket bound at `path` by a process of the other user, answering each connection's
// first bytes with `reply`. The process is ended and the socket removed with this object.
class ForeignListener {
public:
    explicit ForeignListener(const QString& path, QByteArray reply = {});
    ~ForeignListener();
    ForeignListener(const ForeignListener&) = delete;
    ForeignListener& operator=(const ForeignListener&) = delete;
    bool listening() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

private:
    QString path_;
    pid_t pid_ = 0;
};

} // namespace zk::test
