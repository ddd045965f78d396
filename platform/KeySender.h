#pragma once
// Types a key string of the send-keys language into the window that has the keyboard, as
// key-down and key-up events of Windows virtual-key codes.
//
//   letters, digits, other characters   typed, with Shift where the character needs it
//   ~                                    Enter
//   ++  ^^  %%                           a literal + ^ %
//   +x  ^x  %x                           Shift / Ctrl / Alt held while x is pressed
//   +(ab)                                the modifier held over a group
//   {NAME} {NAME n}                      a named key (upper case only), n times
//   {{                                   a literal {
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace zk {

// Where the events go. The program's sink is the foreground window; tests record.
class KeyEventSink {
public:
    virtual ~KeyEventSink() = default;
    virtual void sendKey(int virtualKey, bool down) = 0;
    // Lets the receiver handle the events sent so far.
    virtual void processKeys() {}
};

// The foreground window of the desktop at the moment of each event.
class ForegroundKeySink : public KeyEventSink {
public:
    void sendKey(int virtualKey, bool down) override;
    void processKeys() override;
};

class KeySender {
public:
    // Without a sink the events go to the foreground window; without a Caps Lock source the
    // real keyboard's lock state is read.
    explicit KeySender(KeyEventSink* sink = nullptr, std::function<bool()> capsLock = {});

    // 0, or -1 for a malformed group. With pump, the receiver handles the keys before return.
    int SendKeys(const QByteArray& text, bool pump = true);
    int SendKeys(const QString& text, bool pump = true);
    int SendKeys(const char* text, bool pump = true) { return SendKeys(QByteArray(text), pump); }

    bool ShiftHeld = false;

    static constexpr int VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_RETURN = 13;

private:
    enum class Outcome { Done, Stopped, Malformed };
    Outcome typeText(const QByteArray& text, int& pos, bool inGroup);
    Outcome typeBraceKey(const QByteArray& text, int& pos);
    void typeChar(char c);
    void press(int vk);
    void down(int vk);
    void up(int vk);
    void releaseAll();

    KeyEventSink* sink_;
    ForegroundKeySink foreground_;
    std::function<bool()> capsLock_;
    QList<int> held_;
};

} // namespace zk
