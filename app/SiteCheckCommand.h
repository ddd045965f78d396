#pragma once
// `zerkon --check-site`: the site check without the panel and without a display (the browser
// headless), on the data folder the program would use. The table goes to standard output; the
// exit status is 0 when everything holds, 1 when something moved, 2 when the site could not be
// reached or logged in (or the data folder cannot be used).
#include <optional>

namespace zk {

// The exit status when the arguments ask for the check; nothing otherwise.
std::optional<int> runSiteCheckCommand(int argc, char** argv);

} // namespace zk
