#include "platform/KeySender.h"

#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/KeyboardLayout.h"

#include <cstring>

namespace zk {

namespace {

struct SpecialKey {
    const char* name;
    int vk;
};

// Searched in this order: a name that is only a prefix of the text ("F1" before "F10",
// "ESC" before "ESCAPE") is passed over unless "}" or a count follows it.
constexpr SpecialKey kSpecialKeys[] = {
    {"BKSP", 8},     {"BS", 8},        {"BACKSPACE", 8}, {"BREAK", 3},    {"CAPSLOCK", 20},
    {"CLEAR", 12},   {"DEL", 46},      {"DELETE", 46},   {"DOWN", 40},    {"END", 35},
    {"ENTER", 13},   {"ESC", 27},      {"ESCAPE", 27},   {"F1", 112},     {"F10", 121},
    {"F11", 122},    {"F12", 123},     {"F13", 124},     {"F14", 125},    {"F15", 126},
    {"F16", 127},    {"F2", 113},      {"F3", 114},      {"F4", 115},     {"F5", 116},
    {"F6", 117},     {"F7", 118},      {"F8", 119},      {"F9", 120},     {"HELP", 47},
    {"HOME", 36},    {"INS", 45},      {"LEFT", 37},     {"NUMLOCK", 144}, {"PGDN", 34},
    {"PGUP", 33},    {"PRTSC", 42},    {"RIGHT", 39},    {"SCROLLLOCK", 145}, {"TAB", 9},
    {"UP", 38},
};

// Characters typed as Shift plus another key of the layout.
constexpr struct {
    char typed;
    char unshifted;
} kShifted[] = {
    {'!', '1'}, {'"', '2'}, {'#', '3'}, {'$', '4'}, {'%', '5'}, {'&', '6'}, {'\'', '7'},
    {'(', '8'}, {')', '9'}, {'=', '-'}, {'~', '^'}, {'`', '@'}, {'{', '['}, {'+', ';'},
    {'*', ':'}, {'}', ']'}, {'<', ','}, {'>', '.'}, {'?', '/'},
};

bool isModifierChar(char c) { return c == '+' || c == '^' || c == '%'; }

int modifierKey(char c) {
    switch (c) {
    case '+': return KeySender::VK_SHIFT;
    case '^': return KeySender::VK_CONTROL;
    default: return KeySender::VK_MENU;
    }
}

bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

void ForegroundKeySink::sendKey(int virtualKey, bool down) {
    if (DesktopWindow* w = Desktop::instance().foreground()) w->sendKey(virtualKey, down);
}

void ForegroundKeySink::processKeys() {
    if (DesktopWindow* w = Desktop::instance().foreground()) w->processKeys();
}

KeySender::KeySender(KeyEventSink* sink, std::function<bool()> capsLock)
    : sink_(sink ? sink : &foreground_), capsLock_(capsLock ? std::move(capsLock) : keyboard::capsLockOn) {}

int KeySender::SendKeys(const QString& text, bool pump) { return SendKeys(cp932::fromUnicode(text), pump); }

int KeySender::SendKeys(const QByteArray& text, bool pump) {
    int pos = 0;
    const Outcome outcome = typeText(text, pos, false);
    // Whatever path ended the text, no key stays down.
    releaseAll();
    ShiftHeld = false;
    if (pump) sink_->processKeys();
    return outcome == Outcome::Malformed ? -1 : 0;
}

KeySender::Outcome KeySender::typeText(const QByteArray& text, int& pos, bool inGroup) {
    const int len = text.size();
    while (pos < len) {
        const char c = text[pos];
        const bool hasNext = pos + 1 < len;
        if (isAsciiAlnum(c)) {
            typeChar(c);
            ++pos;
        } else if (c == '~') {
            press(VK_RETURN);
            ++pos;
        } else if (hasNext && isModifierChar(c) && text[pos + 1] == c) {
            typeChar(c);
            pos += 2;
        } else if (isModifierChar(c)) {
            // One prefix of up to three different modifier characters; each is held.
            QList<int> modifiers;
            QByteArray seen;
            while (pos < len && isModifierChar(text[pos]) && !seen.contains(text[pos]) && seen.size() < 3) {
                seen += text[pos];
                modifiers << modifierKey(text[pos]);
                ++pos;
            }
            for (int vk : modifiers) down(vk);
            auto release = [&] {
                for (int i = modifiers.size() - 1; i >= 0; --i) up(modifiers[i]);
            };
            if (pos >= len) {
                release();
                break;
            }
            const char next = text[pos];
            if (next == '(') {
                const int close = text.indexOf(')', pos + 1);
                const bool malformed = len - pos - 1 < 2 || text[pos + 1] == ')' || text[pos + 1] == '('
                    || close < 0 || (close + 1 < len && text[close + 1] == ')');
                if (malformed) {
                    release();
                    return Outcome::Malformed;
                }
                ShiftHeld = true;
                const QByteArray group = text.mid(pos + 1, close - pos - 1);
                int groupPos = 0;
                const Outcome inner = typeText(group, groupPos, true);
                release();
                ShiftHeld = false;
                if (inner != Outcome::Done) return inner;
                pos = close + 1;
            } else if (next == '{') {
                if (pos + 1 < len && text[pos + 1] == '{') {
                    typeChar('{');
                    release();
                    pos += 2;
                } else {
                    const Outcome brace = typeBraceKey(text, pos);
                    release();
                    if (brace != Outcome::Done) return brace;
                }
            } else {
                const int scan = keyboard::keyScan(next);
                if (scan >= 0) press(scan & 0xFF);
                release();
                ++pos;
            }
        } else if (c == '{' && hasNext && text[pos + 1] == '{') {
            typeChar('{');
            pos += 2;
        } else if (c == '{') {
            const Outcome brace = typeBraceKey(text, pos);
            if (brace != Outcome::Done) return brace;
        } else if (c == ')' && inGroup) {
            return Outcome::Done;
        } else {
            typeChar(c);
            ++pos;
        }
    }
    return Outcome::Done;
}

// pos is at "{"; on success it moves past the "}".
KeySender::Outcome KeySender::typeBraceKey(const QByteArray& text, int& pos) {
    const int nameStart = pos + 1;
    for (const SpecialKey& key : kSpecialKeys) {
        const int n = int(std::strlen(key.name));
        if (text.mid(nameStart, n) != key.name) continue;
        const int after = nameStart + n;
        if (after >= text.size()) return Outcome::Stopped;
        if (text[after] == '}') {
            press(key.vk);
            pos = after + 1;
            return Outcome::Done;
        }
        if (text[after] != ' ') continue;
        const int close = text.indexOf('}', after + 1);
        if (close < 0) return Outcome::Stopped;
        const QByteArray digits = text.mid(after + 1, close - after - 1);
        bool ok = !digits.isEmpty();
        for (char d : digits) ok = ok && d >= '0' && d <= '9';
        const int count = ok ? digits.toInt(&ok) : 0;
        if (!ok || count <= 0) return Outcome::Stopped;
        for (int i = 0; i < count; ++i) press(key.vk);
        pos = close + 1;
        return Outcome::Done;
    }
    return Outcome::Stopped;
}

void KeySender::typeChar(char c) {
    const bool caps = capsLock_();
    bool shift = false;
    if (!ShiftHeld && ((c >= 'a' && c <= 'z' && caps) || (c >= 'A' && c <= 'Z' && !caps))) {
        shift = true;
    } else if (!ShiftHeld) {
        for (const auto& pair : kShifted) {
            if (pair.typed == c) {
                shift = true;
                c = pair.unshifted;
                break;
            }
        }
    }
    const int scan = keyboard::keyScan(c);
    if (scan < 0) return; // nothing on the keyboard types it
    if (shift) down(VK_SHIFT);
    press(scan & 0xFF);
    if (shift) up(VK_SHIFT);
}

void KeySender::press(int vk) {
    down(vk);
    up(vk);
}

void KeySender::down(int vk) {
    held_ << vk;
    sink_->sendKey(vk, true);
}

void KeySender::up(int vk) {
    held_.removeOne(vk);
    sink_->sendKey(vk, false);
}

void KeySender::releaseAll() {
    while (!held_.isEmpty()) up(held_.last());
}

} // namespace zk
