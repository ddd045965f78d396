#pragma once
// Bounds the calls that wait on the office. The UNO bridge blocks the calling thread until the
// office answers, and an office that hangs (or was stopped) never does; when a call outlives its
// bound, the watchdog kills the office it was made for, so the call returns with the
// disconnection the workflows already handle and the panel never freezes.
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <sys/types.h>

namespace zk::calc {

class CallWatchdog {
public:
    CallWatchdog();
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    // One watched call: the office `pid` is killed if this is still alive after `ms`.
    class Watch {
    public:
        Watch(Watch&& other) noexcept;
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        friend class CallWatchdog;
        Watch(CallWatchdog* owner, std::uint64_t id) : owner_(owner), id_(id) {}
        CallWatchdog* owner_;
        std::uint64_t id_;
    };
    [[nodiscard]] Watch watch(pid_t pid, int ms);

    // Whether a call outlived its bound and the office was killed for it.
    bool fired() const { return fired_; }

private:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        Clock::time_point deadline;
        pid_t pid;
    };
    void release(std::uint64_t id);
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::uint64_t, Entry> entries_;
    std::uint64_t next_ = 1;
    // When the thread next looks at the entries by itself; a call bound to end before that wakes
    // it, the others (nearly all) cost it no wake-up.
    Clock::time_point nextLook_{};
    bool stopping_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

} // namespace zk::calc
