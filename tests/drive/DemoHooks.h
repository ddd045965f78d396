#pragma once
// Hooks for unattended runs (the demo of `make run` without a display): after the start-up step,
// ZERKON_DEMO_CLICKS=<Button,Button> clicks those buttons of the panel (by object name) in turn,
// ZERKON_SCREENSHOT=<file.png> saves a picture of the screen after ZERKON_SCREENSHOT_DELAY ms
// (default 3000), and ZERKON_QUIT_AFTER_SCREENSHOT=1 then closes the panel as the user would.
namespace zk {

class TMain;

// Also saves the two pages of the panel alone (-main-page.png, -sub-page.png beside the file).
void armScreenshot(TMain* mainWindow);

} // namespace zk
