#pragma once
// The spreadsheet application the wrapper creates: an office of our own with the workbooks it
// has opened, the application-wide settings and the window the user sees.
#include "platform/calc/Office.h"
#include "platform/calc/Workbook.h"

#include <functional>
#include <memory>

namespace zk {
class DesktopWindow;
}

namespace zk::calc {

// Called on the program's thread after the seller tried to close a workbook (or its window) that
// the close veto keeps open; one call for the workbook and its window asking in turn.
void setCloseRefusedHandler(std::function<void()> handler);

class CalcWindow;

// Excel's window states.
namespace windowstate {
constexpr int Normal = -4143;
constexpr int Maximized = -4137;
constexpr int Minimized = -4140;
} // namespace windowstate

class Application : public Object, public std::enable_shared_from_this<Application> {
public:
    // Starts a new office (throws AutomationError when it cannot).
    static std::shared_ptr<Application> create(const Office::Options& options = Office::defaultOptions());
    ~Application() override;
    QString typeName() const override { return QStringLiteral("Application"); }

    bool visible() const;
    void setVisible(bool on);
    std::shared_ptr<Workbooks> workbooks();
    std::shared_ptr<Application> application();
    std::shared_ptr<Workbook> activeWorkbook();
    // The sheets of the active workbook.
    std::shared_ptr<Sheets> sheets();
    std::shared_ptr<Worksheet> activeSheet();
    // The cell the user selected in the active workbook's window.
    std::shared_ptr<Range> activeCell();

    bool displayAlerts() const;
    void setDisplayAlerts(bool on);
    // Calc has no switch that forbids editing inside the cell; the setting is kept here, checked
    // against a live office like every other call, so that its uses keep their order and faults.
    bool editDirectlyInCell() const;
    void setEditDirectlyInCell(bool on);
    int windowState() const;
    void setWindowState(int state);

    // The application's window: the frame of the active workbook. It outlives the application
    // (it then reports that it is gone).
    std::shared_ptr<CalcWindow> window() const;

    // Ends the office. Unsaved changes are dropped (the callers save first).
    void quit();

    Office& office() const;
    AppState& state() const { return *d; }

private:
    Application();
    std::shared_ptr<AppState> d;
};

} // namespace zk::calc
