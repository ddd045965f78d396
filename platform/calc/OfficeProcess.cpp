#include "OfficeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace zk::calc {
namespace {

// The fields of /proc/<pid>/stat after the parenthesised program name.
bool readStat(pid_t pid, QString& name, char& state, pid_t& parent) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
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

} // namespace

bool signalProcess(pid_t pid, int signal) {
    if (pid <= 1) return false;
    return ::kill(pid, signal) == 0;
}

bool processExists(pid_t pid) {
    if (pid <= 1) return false;
    QString name;
    char state = 0;
    pid_t parent = 0;
    if (!readStat(pid, name, state, parent)) return false;
    return state != 'Z' && state != 'X';
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

OfficeProcess::OfficeProcess() : launcher_(std::make_unique<QProcess>()) {}

OfficeProcess::~OfficeProcess() {
    if (launcher_) kill();
}

void OfficeProcess::detach() {
    // Never destroyed: a QProcess ends its process when it goes.
    launcher_.release();
    launcher_ = std::make_unique<QProcess>();
    office_ = 0;
}

bool OfficeProcess::start(const QString& program, const QStringList& arguments,
                          const QStringList& removeFromEnvironment, QString& error) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : removeFromEnvironment) env.remove(name);
    launcher_->setProcessEnvironment(env);
    launcher_->setProgram(program);
    launcher_->setArguments(arguments);
    launcher_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    launcher_->setStandardOutputFile(QProcess::nullDevice());
    launcher_->start();
    if (!launcher_->waitForStarted(10000)) {
        error = launcher_->errorString();
        return false;
    }
    return true;
}

pid_t OfficeProcess::launcherPid() const {
    return launcher_->state() == QProcess::NotRunning ? 0 : pid_t(launcher_->processId());
}

bool OfficeProcess::officeAlive() const {
    if (office_ <= 1) return false;
    QString name;
    char state = 0;
    pid_t parent = 0;
    if (!readStat(office_, name, state, parent)) return false;
    // The id could have been given to another process since: it must still be the office,
    // and while the launcher lives, its child.
    if (name != QStringLiteral("soffice.bin") || state == 'Z' || state == 'X') return false;
    const pid_t launcher = launcherPid();
    return launcher <= 1 || parent == launcher;
}

pid_t OfficeProcess::officePid() {
    if (officeAlive()) return office_;
    const pid_t launcher = launcherPid();
    if (launcher <= 1) return 0;
    const QList<pid_t> children = childProcesses(launcher, QStringLiteral("soffice.bin"));
    office_ = children.isEmpty() ? 0 : children.first();
    return office_;
}

bool OfficeProcess::running() const {
    return launcher_->state() != QProcess::NotRunning || officeAlive();
}

bool OfficeProcess::waitForExit(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (launcher_->state() != QProcess::NotRunning) launcher_->waitForFinished(20);
        if (!running()) return true;
        if (launcher_->state() == QProcess::NotRunning) QThread::msleep(20);
    }
    return !running();
}

void OfficeProcess::kill() {
    // The office first: killing only the launcher would orphan it.
    if (officeAlive()) {
        signalProcess(office_, SIGTERM);
        QElapsedTimer timer;
        timer.start();
        while (officeAlive() && timer.elapsed() < 3000) {
            if (launcher_->state() != QProcess::NotRunning) launcher_->waitForFinished(20);
            else QThread::msleep(20);
        }
        if (officeAlive()) signalProcess(office_, SIGKILL);
    }
    if (launcher_->state() != QProcess::NotRunning) {
        launcher_->waitForFinished(2000);
        if (launcher_->state() != QProcess::NotRunning) {
            launcher_->kill();
            launcher_->waitForFinished(2000);
        }
    }
    office_ = 0;
}

} // namespace zk::calc
