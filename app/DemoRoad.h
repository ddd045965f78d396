#pragma once
// The unattended road of `make run` without a display (ZERKON_DEMO_ROAD=<workbook>): through the
// panel's own buttons it opens the workbook, lists every item row on the practice site
// (category from the dialog, pictures from a sample folder it makes, the description from a
// template, the workbook's prices), relists the unsold items (one singly, the rest in bulk with
// the price panel in use), collects the sold and the current items into new workbooks, prints a
// report and writes screenshots of the main steps (ZERKON_DEMO_SHOTS=<folder>).
namespace zk {

class TMain;

// Runs the road once the start-up step has run, then closes the panel.
void runDemoRoad(TMain* mainWindow);

} // namespace zk
