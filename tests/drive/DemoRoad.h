#pragma once
// The unattended road of `make run` without a display (ZERKON_DEMO_ROAD=<workbook>): through the
// panel's own buttons it opens the workbook, chooses a category in the dialog and lists the
// sheet with "連続出品" (two pictures per item from a sample folder it makes, the description
// from a template, the workbook's prices; the check's report answered "続行"), relists the
// unsold items (one singly, the rest in bulk with the price panel in use), collects the sold and the current items into new workbooks, prints a
// report and writes screenshots of the main steps (ZERKON_DEMO_SHOTS=<folder>).
namespace zk {

class TMain;

// Runs the road once the start-up step has run, then closes the panel.
void runDemoRoad(TMain* mainWindow);

} // namespace zk
