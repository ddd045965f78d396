#pragma once
// The office's UNO pipe is a local socket in the shared temporary folder, named after a pipe
// name that anyone can read in the office's command line; this office version offers no private
// folder for it. Another user can bind the name first. Before the bridge talks to the pipe, it
// must be a socket of this user's on which the office we started listens.
#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace zk::calc {

// Where the office binds the pipe of this name for this user.
QString officePipePath(const QString& pipeName);

enum class PipeOwner {
    Absent,  // nothing bound yet: the office is still starting
    Office,  // the office we started listens on it
    Foreign, // someone else has it: never to be spoken to
};

// Who listens at `path`; for Foreign, the reason in `detail`. The socket file must belong to
// this user (the temporary folder's sticky bit then keeps anyone else from replacing it), and
// the peer on a test connection must be process `office`.
PipeOwner pipeOwner(const QString& path, pid_t office, QString* detail);

// The office's sockets in the shared temporary folder (its UNO pipe and the one that lets a
// second start hand over to the first), as the running process `office` has bound them. The
// office removes them when it ends on its own, never when it is killed.
QStringList pipesBoundBy(pid_t office);

// Removes what an ended office left of its sockets: only a socket of this user that nobody
// listens on any more.
void removeDeadPipes(const QStringList& paths);

} // namespace zk::calc
