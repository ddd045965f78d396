#include "Clock.h"

#include <QElapsedTimer>

namespace zk::clock {
namespace {

struct State {
    QDateTime fixed;
    QDateTime start;
    QElapsedTimer running;
    bool initialised = false;
};

State& state() {
    static State s;
    if (!s.initialised) {
        s.initialised = true;
        const QByteArray env = qgetenv("ZERKON_NOW");
        if (!env.isEmpty()) {
            s.start = QDateTime::fromString(QString::fromLatin1(env), Qt::ISODate);
            if (s.start.isValid()) s.running.start();
        }
    }
    return s;
}

} // namespace

QDateTime now() {
    State& s = state();
    if (s.fixed.isValid()) return s.fixed;
    if (s.start.isValid()) return s.start.addMSecs(s.running.elapsed());
    return QDateTime::currentDateTime();
}

void set(const QDateTime& fixed) { state().fixed = fixed; }

} // namespace zk::clock
