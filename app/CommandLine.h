#pragma once
// The two questions a command-line program is expected to answer, "--version" and "--help",
// answered before any window or display is needed. Every other argument is left to the program.
#include <optional>

namespace zk {

// Prints the answer and gives the exit code when the arguments ask one of the two questions;
// nothing otherwise.
std::optional<int> answerCommandLine(int argc, char** argv);

} // namespace zk
