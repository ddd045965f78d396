#include "KeyboardLayout.h"

#include <QDir>
#include <QFile>

namespace zk::keyboard {

namespace {

struct OemKey {
    char plain;
    char shifted; // 0: Shift types nothing on this key
    int vk;
    const char* code;
};

// The punctuation keys of the JIS layout.
constexpr OemKey kOem[] = {
    {'-', '=', 0xBD, "Minus"},     {'^', '~', 0xDE, "Equal"},       {'\\', '|', 0xDC, "IntlYen"},
    {'@', '`', 0xC0, "BracketLeft"}, {'[', '{', 0xDB, "BracketRight"}, {';', '+', 0xBB, "Semicolon"},
    {':', '*', 0xBA, "Quote"},     {']', '}', 0xDD, "Backslash"},   {',', '<', 0xBC, "Comma"},
    {'.', '>', 0xBE, "Period"},    {'/', '?', 0xBF, "Slash"},       {0, '_', 0xE2, "IntlRo"},
};

// Shift plus a digit key.
constexpr char kShiftedDigits[] = {0, '!', '"', '#', '$', '%', '&', '\'', '(', ')'};

} // namespace

int keyScan(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') return 0x100 | c;
    if (c >= '0' && c <= '9') return c;
    for (int d = 1; d <= 9; ++d)
        if (kShiftedDigits[d] == c) return 0x100 | ('0' + d);
    for (const OemKey& k : kOem) {
        if (k.plain && k.plain == c) return k.vk;
        if (k.shifted == c) return 0x100 | k.vk;
    }
    switch (c) {
    case ' ': return 0x20;
    case '\t': return 0x09;
    case '\r': return 0x0D;
    case '\n': return 0x20D; // Ctrl+Enter, as the layout reports it
    case '\b': return 0x08;
    case 0x1B: return 0x1B;
    default: return -1;
    }
}

QString textFor(int vk, bool shift, bool capsLock) {
    if (vk >= 'A' && vk <= 'Z') {
        const bool upper = shift != capsLock;
        return QString(QChar(upper ? vk : vk - 'A' + 'a'));
    }
    if (vk >= '0' && vk <= '9') {
        if (!shift) return QString(QChar(vk));
        const char c = kShiftedDigits[vk - '0'];
        return c ? QString(QChar(c)) : QString();
    }
    for (const OemKey& k : kOem) {
        if (k.vk != vk) continue;
        const char c = shift ? k.shifted : k.plain;
        return c ? QString(QChar(c)) : QString();
    }
    switch (vk) {
    case 0x20: return QStringLiteral(" ");
    case 0x0D: return QStringLiteral("\r");
    default: return {};
    }
}

QString codeFor(int vk) {
    if (vk >= 'A' && vk <= 'Z') return QStringLiteral("Key") + QChar(vk);
    if (vk >= '0' && vk <= '9') return QStringLiteral("Digit") + QChar(vk);
    if (vk >= 112 && vk <= 135) return QStringLiteral("F%1").arg(vk - 111);
    for (const OemKey& k : kOem)
        if (k.vk == vk) return QString::fromLatin1(k.code);
    switch (vk) {
    case 8: return QStringLiteral("Backspace");
    case 9: return QStringLiteral("Tab");
    case 12: return QStringLiteral("NumpadEqual");
    case 13: return QStringLiteral("Enter");
    case 16: return QStringLiteral("ShiftLeft");
    case 17: return QStringLiteral("ControlLeft");
    case 18: return QStringLiteral("AltLeft");
    case 19: return QStringLiteral("Pause");
    case 20: return QStringLiteral("CapsLock");
    case 27: return QStringLiteral("Escape");
    case 32: return QStringLiteral("Space");
    case 33: return QStringLiteral("PageUp");
    case 34: return QStringLiteral("PageDown");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 37: return QStringLiteral("ArrowLeft");
    case 38: return QStringLiteral("ArrowUp");
    case 39: return QStringLiteral("ArrowRight");
    case 40: return QStringLiteral("ArrowDown");
    case 45: return QStringLiteral("Insert");
    case 46: return QStringLiteral("Delete");
    case 144: return QStringLiteral("NumLock");
    case 145: return QStringLiteral("ScrollLock");
    default: return {};
    }
}

QString keyNameFor(int vk, bool shift, bool capsLock) {
    const QString text = textFor(vk, shift, capsLock);
    if (vk == 0x0D) return QStringLiteral("Enter");
    if (!text.isEmpty()) return text;
    if (vk >= 112 && vk <= 135) return QStringLiteral("F%1").arg(vk - 111);
    switch (vk) {
    case 8: return QStringLiteral("Backspace");
    case 9: return QStringLiteral("Tab");
    case 12: return QStringLiteral("Clear");
    case 16: return QStringLiteral("Shift");
    case 17: return QStringLiteral("Control");
    case 18: return QStringLiteral("Alt");
    case 19: return QStringLiteral("Pause");
    case 20: return QStringLiteral("CapsLock");
    case 27: return QStringLiteral("Escape");
    case 33: return QStringLiteral("PageUp");
    case 34: return QStringLiteral("PageDown");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 37: return QStringLiteral("ArrowLeft");
    case 38: return QStringLiteral("ArrowUp");
    case 39: return QStringLiteral("ArrowRight");
    case 40: return QStringLiteral("ArrowDown");
    case 45: return QStringLiteral("Insert");
    case 46: return QStringLiteral("Delete");
    case 144: return QStringLiteral("NumLock");
    case 145: return QStringLiteral("ScrollLock");
    default: return QStringLiteral("Unidentified");
    }
}

bool capsLockOn() {
    // Every keyboard the kernel knows has an LED entry "inputN::capslock".
    const QDir leds(QStringLiteral("/sys/class/leds"));
    for (const QString& name : leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        if (!name.endsWith(QLatin1String("::capslock"))) continue;
        QFile f(leds.filePath(name) + QStringLiteral("/brightness"));
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed().toInt() != 0) return true;
    }
    return false;
}

} // namespace zk::keyboard
