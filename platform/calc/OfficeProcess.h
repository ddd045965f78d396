#pragma once
// The office's processes as this program sees them. The office is started through its launcher
// script, which becomes a splash helper that runs the real office binary as its child; only
// those two, both of our own making, are ever signalled, and never a pid of 1 or less.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <sys/types.h>

namespace zk::calc {

// A signal to one process by its id; refuses pids of 1 or less (kill(-1) or kill(0) would hit
// whole groups or every process of the user). True when the signal was delivered.
bool signalProcess(pid_t pid, int signal);

// Whether a process with this id exists (and is not a zombie).
bool processExists(pid_t pid);

// The ids of the children of a process whose program name is `name`, read from /proc.
QList<pid_t> childProcesses(pid_t parent, const QString& name);

class OfficeProcess {
public:
    OfficeProcess();
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // Starts the launcher; false with the reason in `error` when it cannot be started.
    bool start(const QString& program, const QStringList& arguments, const QStringList& removeFromEnvironment,
               QString& error);
    // The real office process (found once, then remembered); 0 while it is not known.
    pid_t officePid();
    pid_t launcherPid() const;
    bool running() const;
    // Waits up to `ms` for both processes to end on their own.
    bool waitForExit(int ms);
    // Ends what we started: the office, then the launcher; waits for them.
    void kill();
    // Lets the processes run on without us; this object then stands for none.
    void detach();

private:
    bool officeAlive() const;

    std::unique_ptr<QProcess> launcher_;
    pid_t office_ = 0;
};

} // namespace zk::calc
