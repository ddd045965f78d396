#pragma once
// One press of the panel, run so that nothing it throws reaches the event loop. Whatever
// escapes the step (a browser or office that went away or hung, any automation error, any other
// exception) ends here: the panel is put back exactly as it was before the press, then `failed`
// applies the reconnect rule and says the one message. The step's own handled failures (its
// messages, the bulk relist's silent skips) are untouched.
#include "platform/AutomationError.h"
#include "workflow/Panel.h"

#include <functional>

namespace zk::workflow {

class PressGuard {
public:
    using Failure = std::function<void(const AutomationError&)>;

    // True when the press ended by itself, false when the guard caught it.
    static bool run(Panel& panel, const std::function<void()>& press, const Failure& failed);
    // Presses under way (a press may run inside another's waits, e.g. a timer's).
    static int running() { return running_; }

private:
    static int running_;
};

} // namespace zk::workflow
