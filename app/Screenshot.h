#pragma once
// A picture of the panel for unattended runs and the package's metadata: once the start-up step
// has run, ZERKON_SCREENSHOT=<file.png> saves the screen after ZERKON_SCREENSHOT_DELAY ms (default
// 3000), with the two pages of the panel alone beside it (-main-page.png, -sub-page.png), and
// ZERKON_QUIT_AFTER_SCREENSHOT=1 then closes the panel as the user would.
namespace zk {

class TMain;

void armScreenshot(TMain* mainWindow);

} // namespace zk
