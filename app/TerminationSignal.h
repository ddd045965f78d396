#pragma once
// SIGTERM, SIGINT and SIGHUP close the panel as the seller would, so that the closing sequence
// saves the workbook and the settings and quits the browser it started. A press that is running
// is let finish first (a long run is asked to stop): closing under it would pull the browser and
// the workbook away from a listing half sent.
#include <functional>

class QWidget;

namespace zk {

void closeOnTerminationSignals(QWidget* mainWindow, std::function<bool()> pressRunning = {},
                               std::function<void()> requestStop = {});

} // namespace zk
