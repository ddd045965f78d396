#pragma once
// ZERKON_DEMO_CLICKS=<Button,Button>: once the start-up step has run, the driver clicks those
// buttons of the panel (by object name) in turn.
namespace zk {

class TMain;

void armDemoClicks(TMain* mainWindow);

} // namespace zk
