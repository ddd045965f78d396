#pragma once
// The office's process as this program sees it. The office binary is started directly (not
// through its launcher script and splash helper), so that the process we hold is the office
// itself: it can be told to die with us, and it is the only one ever signalled, never a pid of
// 1 or less.
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <sys/types.h>

namespace zk::calc {

// A signal to one process by its id; refuses pids of 1 or less (kill(-1) or kill(0) would hit
// whole groups or every process of the user). True when the signal was delivered.
bool signalProcess(pid_t pid, int signal);

// Whether a process with this id exists (and is not a zombie). A killed process counts as gone
// at once, while its threads may still be ending.
bool processExists(pid_t pid);

// Whether every thread of the process has ended, and with them its files and sockets: a main
// thread that ends before the others shows as a zombie while they still hold them.
bool processGone(pid_t pid);

// Whether every thread of the process has stopped (SIGSTOP). A stop signal is acted on by each
// thread only when it next runs, so on a busy machine a process can go on answering for a while
// after the signal was sent.
bool processStopped(pid_t pid);

// Whether the process with this id runs the program `name` (as the kernel names it).
bool processIs(pid_t pid, const QString& name);

// The ids of the children of a process whose program name is `name`, read from /proc.
QList<pid_t> childProcesses(pid_t parent, const QString& name);

class OfficeProcess {
public:
    struct Launch {
        QString program;
        QStringList arguments;
        QStringList removeFromEnvironment;
        QMap<QString, QString> environment; // set for the office beside what we have
        QString logFile;            // the office's output goes here, never to our own
        bool endWithUs = false;     // the office is killed when this program dies
    };

    OfficeProcess();
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // Starts the office; false with the reason in `error` when it cannot be started.
    bool start(const Launch& launch, QString& error);
    // The office's process id while it runs; 0 otherwise.
    pid_t officePid() const;
    bool running() const;
    // The exit code once the office has ended on its own; -1 while it runs or when unknown.
    int exitCode();
    // Waits up to `ms` for the office to end on its own.
    bool waitForExit(int ms);
    // Ends what we started and waits for it.
    void kill();
    // Lets the office run on without us; this object then stands for none.
    void detach();

private:
    std::unique_ptr<QProcess> process_;
    pid_t pid_ = 0;
};

} // namespace zk::calc
