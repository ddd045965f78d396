#pragma once
// The one entry point of the description-append library.

extern "C" {
// Opens the tool window over `host` (a zk::textplus::Host of the program, which outlives the
// window); returns at once. A second call brings the open window to the front.
__attribute__((visibility("default"))) void SetumeiTuikaMain(void* host);
}
