#pragma once
// The Japanese (JIS) keyboard layout as key events see it: which virtual key types a character
// (with or without Shift) and which character a virtual key types; and the lock state of the
// real keyboard.
#include <QString>

namespace zk::keyboard {

// Virtual-key code in the low byte, 0x100 when Shift is needed; -1 when no key types it.
int keyScan(char c);
// The character a key types with the given Shift and Caps Lock state; empty for keys that type
// nothing (arrows, function keys, modifiers).
QString textFor(int virtualKey, bool shift, bool capsLock);
// The DOM "code" and "key" names of a virtual key, for injected events.
QString codeFor(int virtualKey);
QString keyNameFor(int virtualKey, bool shift, bool capsLock);
// Caps Lock of the real keyboard (its LED as the kernel reports it); false where there is none.
bool capsLockOn();

} // namespace zk::keyboard
