#pragma once
// Process-wide signal settings that must be in place before any thread starts.

namespace zk {

// A write into a pipe or socket whose reader has gone (an office or browser that died) must
// come back as an error the caller handles, not end the whole program with SIGPIPE. Threads
// inherit the setting only from where they were started, so call this first thing in main.
void ignoreBrokenPipes();

} // namespace zk
