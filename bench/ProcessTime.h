#pragma once
// The processor time a process has used so far, for benchmarks that show what a helper process
// (the office) spent on their work beside the wall time, which the machine's load blurs.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <sys/types.h>
#include <unistd.h>

namespace zk::bench {

// User and system time in ms; 0 for a process that is gone.
inline double processCpuMs(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    // The fields after the command's closing parenthesis, from the state on: utime and stime are
    // the 12th and 13th of them.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace zk::bench
