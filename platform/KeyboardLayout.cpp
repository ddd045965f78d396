#include "platform/KeyboardLayout.h"

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

// Keys that type no text: their physical code and their key name for the page.
struct NamedKey {
    int vk;
    const char* code;
    const char* key;
};

constexpr NamedKey kNamed[] = {
    {8, "Backspace", "Backspace"},   {9, "Tab", "Tab"},
    {12, "NumpadEqual", "Clear"},    {13, "Enter", "Enter"},
    {16, "ShiftLeft", "Shift"},      {17, "ControlLeft", "Control"},
    {18, "AltLeft", "Alt"},          {19, "Pause", "Pause"},
    {20, "CapsLock", "CapsLock"},    {27, "Escape", "Escape"},
    {32, "Space", " "},              {33, "PageUp", "PageUp"},
    {34, "PageDown", "PageDown"},    {35, "End", "End"},
    {36, "Home", "Home"},            {37, "ArrowLeft", "ArrowLeft"},
    {38, "ArrowUp", "ArrowUp"},      {39, "ArrowRight", "ArrowRight"},
    {40, "ArrowDown", "ArrowDown"},  {45, "Insert", "Insert"},
    {46, "Delete", "Delete"},        {144, "NumLock", "NumLock"},
    {145, "ScrollLock", "ScrollLock"},
};

const NamedKey* namedKey(int vk) {
    for (const NamedKey& k : kNamed)
        if (k.vk == vk) return &k;
    return nullptr;
}

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
    const NamedKey* named = namedKey(vk);
    return named ? QString::fromLatin1(named->code) : QString();
}

QString keyNameFor(int vk, bool shift, bool capsLock) {
    const QString text = textFor(vk, shift, capsLock);
    if (vk == 0x0D) return QStringLiteral("Enter");
    if (!text.isEmpty()) return text;
    if (vk >= 112 && vk <= 135) return QStringLiteral("F%1").arg(vk - 111);
    const NamedKey* named = namedKey(vk);
    return named ? QString::fromLatin1(named->key) : QStringLiteral("Unidentified");
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
