#pragma once
// One running office of our own: LibreOffice started with a profile of ours and a private pipe,
// and the UNO connection to it. Ending the object ends the office.
#include "CallWatchdog.h"

#include <QString>
#include <functional>
#include <memory>
#include <sys/types.h>

namespace zk::calc {

class Office {
public:
    struct Options {
        bool headless = true;
        QString profileFolder;   // empty: a folder of ours in the user's cache
        int connectTimeoutMs = 30000;
        QString pipeName;        // empty: a new unguessable name for each start
        // The longest any one call may wait for the office before the office counts as hung and
        // is ended; loading and saving get four times as long.
        int callTimeoutMs = 30000;
    };
    // Headless when there is no display (or ZERKON_OFFICE_HEADLESS=1); the call bound from
    // ZERKON_OFFICE_CALL_TIMEOUT_MS when set.
    static Options defaultOptions();

    // Starts the office and connects; throws AutomationError when it cannot.
    explicit Office(const Options& options = defaultOptions());
    ~Office();
    Office(const Office&) = delete;
    Office& operator=(const Office&) = delete;

    bool headless() const;
    // False once the office has gone or was ended.
    bool connected() const;
    // The office's own process (0 when not known).
    pid_t processId();
    QString pipeName() const;
    QString profileFolder() const;

    // Removes the lock file that an office of ours left beside a workbook when it was killed;
    // a lock of an office that still runs, or of anyone else, is left alone.
    static void removeStaleLock(const QString& workbookPath);

    // Asks the office to end, waits for it and ends what is left of the processes we started.
    void terminate();

    // Called before every call that reaches the office, with the call's name; it may throw an
    // AutomationError to refuse the call as the office would.
    using CallGate = std::function<void(const QString& call)>;
    void setCallGate(CallGate gate);
    // Checks the connection (and, for calls into the object model, the gate) before a call;
    // throws AutomationError.
    void enter(const QString& call, bool gated = true);
    // Runs one call into the office: failures become AutomationErrors, and a lost connection
    // marks the office as gone.
    template <class F>
    auto run(const QString& call, F&& f, bool gated = true) -> decltype(f()) {
        enter(call, gated);
        const CallWatchdog::Watch watch = watchCall(call);
        try {
            return f();
        } catch (...) {
            failed();
        }
    }
    [[noreturn]] void failed();
    // Bounds one call into the office (see CallWatchdog); the bound can change while it runs.
    CallWatchdog::Watch watchCall(const QString& call);
    void setCallTimeout(int ms);

    // While on, the windows and documents we drive refuse to be closed by the user.
    void setCloseVeto(bool on);
    bool closeVeto() const;

    struct Impl;
    Impl& impl() { return *d; }

private:
    std::unique_ptr<Impl> d;
};

} // namespace zk::calc
