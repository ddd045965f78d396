#pragma once
// A fixed wait of a workflow step (a key's effect to settle, a control to be ready) that keeps
// the browser's and the office's connections served meanwhile.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace zk::workflow {

inline void pause(int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(std::min<qint64>(5, std::max<qint64>(0, deadline.remainingTime())));
    }
}

} // namespace zk::workflow
