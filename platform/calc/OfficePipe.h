#pragma once
// The office's UNO pipe is a local socket in the shared temporary folder, named after a pipe
// name that anyone can read in the office's command line; this office version offers no private
// folder for it. Another user can bind the name first. Before the bridge talks to the pipe, it
// must be a socket of this user's on which the office we started listens.
#include <QString>
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

} // namespace zk::calc
