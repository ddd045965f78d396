#pragma once
// The program's clock. Closing dates and times depend on the hour of day; tests set the time.
// ZERKON_NOW ("yyyy-MM-ddTHH:mm:ss") fixes the clock's start for a whole run of the program;
// the clock then runs on from there.
#include <QDateTime>

namespace zk::clock {

QDateTime now();
// Fixes the current time (the clock then stands still) or, with an invalid value, returns to
// the system clock.
void set(const QDateTime& fixed);

} // namespace zk::clock
