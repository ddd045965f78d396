#pragma once
// SIGTERM, SIGINT and SIGHUP close the panel as the seller would, so that the closing sequence
// saves the workbook and the settings and quits the browser it started.
class QWidget;

namespace zk {

void closeOnTerminationSignals(QWidget* mainWindow);
// The property set on the window when a signal closes it.
inline constexpr char ClosedBySignal[] = "zkClosedBySignal";

} // namespace zk
