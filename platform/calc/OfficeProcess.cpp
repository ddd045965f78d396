#include "OfficeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zk::calc {
namespace {

// The fields of /proc/<pid>/stat (or of a thread's stat file) after the parenthesised program name.
bool readStat(const QString& path, QString& name, char& state, pid_t& parent) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = file.readAll();
    const int open = line.indexOf('(');
    const int close = line.lastIndexOf(')');
    if (open < 0 || close < open) return false;
    name = QString::fromLocal8Bit(line.mid(open + 1, close - open - 1));
    const QList<QByteArray> rest = line.mid(close + 2).split(' ');
    if (rest.size() < 2 || rest[0].isEmpty()) return false;
    state = rest[0][0];
    parent = pid_t(rest[1].toLong());
    return true;
}

bool readStat(pid_t pid, QString& name, char& state, pid_t& parent) {
    return readStat(QStringLiteral("/proc/%1/stat").arg(pid), name, state, parent);
}

// The state letter of each thread of a process (those that end meanwhile left out).
QList<char> threadStates(pid_t pid) {
    QList<char> states;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& thread : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QString name;
        char state = 0;
        pid_t parent = 0;
        if (readStat(tasks + "/" + thread + "/stat", name, state, parent)) states << state;
    }
    return states;
}

bool ended(char state) { return state == 'Z' || state == 'X'; }

} // namespace

bool signalProcess(pid_t pid, int signal) {
    if (pid <= 1) return false;
    return ::kill(pid, signal) == 0;
}

bool processIs(pid_t pid, const QString& name) {
    if (pid <= 1) return false;
    QString program;
    char state = 0;
    pid_t parent = 0;
    if (!readStat(pid, program, state, parent)) return false;
    // The kernel cuts program names to 15 characters.
    return !ended(state) && name.startsWith(program) && !program.isEmpty();
}

bool processStopped(pid_t pid) {
    if (pid <= 1) return false;
    const QList<char> states = threadStates(pid);
    return !states.isEmpty() && std::all_of(states.begin(), states.end(), [](char s) { return s == 'T' || s == 't'; });
}

bool processExists(pid_t pid) {
    if (pid <= 1) return false;
    QString name;
    char state = 0;
    pid_t parent = 0;
    if (!readStat(pid, name, state, parent)) return false;
    return !ended(state);
}

bool processGone(pid_t pid) {
    if (pid <= 1) return true;
    QString name;
    char state = 0;
    pid_t parent = 0;
    if (!readStat(pid, name, state, parent)) return true;
    if (!ended(state)) return false;
    const QList<char> states = threadStates(pid);
    return std::all_of(states.begin(), states.end(), ended);
}

QList<pid_t> childProcesses(pid_t parent, const QString& name) {
    QList<pid_t> found;
    if (parent <= 1) return found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const pid_t pid = pid_t(entry.toLong(&numeric));
        if (!numeric || pid <= 1) continue;
        QString program;
        char state = 0;
        pid_t ppid = 0;
        if (!readStat(pid, program, state, ppid)) continue;
        // The kernel cuts program names to 15 characters.
        if (ppid == parent && name.startsWith(program) && state != 'Z') found << pid;
    }
    return found;
}

OfficeProcess::OfficeProcess() : process_(std::make_unique<QProcess>()) {}

OfficeProcess::~OfficeProcess() {
    if (process_) kill();
}

void OfficeProcess::detach() {
    // Never destroyed: a QProcess ends its process when it goes.
    process_.release();
    process_ = std::make_unique<QProcess>();
    pid_ = 0;
}

bool OfficeProcess::start(const Launch& launch, QString& error) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : launch.removeFromEnvironment) env.remove(name);
    for (auto it = launch.environment.cbegin(); it != launch.environment.cend(); ++it) env.insert(it.key(), it.value());
    // What the launcher script would have set: the office honours lock files only with it.
    env.insert(QStringLiteral("SAL_ENABLE_FILE_LOCKING"), QStringLiteral("1"));
    process_->setProcessEnvironment(env);
    process_->setProgram(launch.program);
    process_->setArguments(launch.arguments);
    // The office must hold none of our handles: an office that outlives us would otherwise keep
    // the pipes of whoever reads our output open.
    process_->setStandardInputFile(QProcess::nullDevice());
    if (launch.logFile.isEmpty()) {
        process_->setStandardOutputFile(QProcess::nullDevice());
        process_->setStandardErrorFile(QProcess::nullDevice());
    } else {
        process_->setStandardOutputFile(launch.logFile, QIODevice::Truncate);
        process_->setStandardErrorFile(launch.logFile, QIODevice::Append);
    }
    if (launch.endWithUs) {
        const pid_t parent = ::getpid();
        process_->setChildProcessModifier([parent] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            // We may have died between the fork and the line above.
            if (::getppid() != parent) ::_exit(1);
        });
    } else {
        process_->setChildProcessModifier({});
    }
    process_->start();
    if (!process_->waitForStarted(10000)) {
        error = process_->errorString();
        return false;
    }
    pid_ = pid_t(process_->processId());
    return true;
}

pid_t OfficeProcess::officePid() const { return running() ? pid_ : 0; }

bool OfficeProcess::running() const {
    // Read from /proc rather than from the QProcess, whose state changes only when events are
    // processed; a killed office must count as gone at once.
    return pid_ > 1 && processIs(pid_, QStringLiteral("soffice.bin"));
}

int OfficeProcess::exitCode() {
    if (running() || process_->state() == QProcess::Starting) return -1;
    if (process_->state() != QProcess::NotRunning) process_->waitForFinished(100);
    if (process_->state() != QProcess::NotRunning || process_->exitStatus() != QProcess::NormalExit) return -1;
    return process_->exitCode();
}

bool OfficeProcess::waitForExit(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (running() && timer.elapsed() < ms) {
        if (process_->state() != QProcess::NotRunning) process_->waitForFinished(20);
        else QThread::msleep(20);
    }
    return !running();
}

void OfficeProcess::kill() {
    if (running()) {
        signalProcess(pid_, SIGTERM);
        if (!waitForExit(3000) && running()) signalProcess(pid_, SIGKILL);
    }
    if (process_->state() != QProcess::NotRunning) process_->waitForFinished(2000);
    pid_ = 0;
}

} // namespace zk::calc
