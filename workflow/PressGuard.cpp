#include "workflow/PressGuard.h"

#include <exception>
#include <optional>

namespace zk::workflow {

int PressGuard::running_ = 0;

bool PressGuard::run(Panel& panel, const std::function<void()>& press, const Failure& failed) {
    struct Running {
        Running() { ++running_; }
        ~Running() { --running_; }
    } running;
    const Panel::Snapshot before = panel.snapshot();
    std::optional<AutomationError> error;
    try {
        press();
        return true;
    } catch (const AutomationError& e) {
        error = e;
    } catch (const std::exception& e) {
        error = AutomationError(hresult::Fail, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        error = AutomationError(hresult::Fail, QString());
    }
    panel.restore(before);
    try {
        failed(*error);
    } catch (...) {
        // The recovery met the same lost program again: its message has been said, and the
        // next press starts from the state restored here.
    }
    panel.restore(before);
    return false;
}

} // namespace zk::workflow
