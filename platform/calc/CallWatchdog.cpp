#include "CallWatchdog.h"

#include "OfficeProcess.h"

#include <algorithm>
#include <csignal>

namespace zk::calc {

CallWatchdog::CallWatchdog() = default;

CallWatchdog::~CallWatchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

CallWatchdog::Watch::Watch(Watch&& other) noexcept : owner_(other.owner_), id_(other.id_) { other.owner_ = nullptr; }

CallWatchdog::Watch::~Watch() {
    if (owner_) owner_->release(id_);
}

CallWatchdog::Watch CallWatchdog::watch(pid_t pid, int ms) {
    std::uint64_t id = 0;
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Started on first use: most objects never wait on a call.
        if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
        id = next_++;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
        entries_[id] = Entry{deadline, pid};
        wake = deadline < nextLook_;
    }
    // Waking the thread for every call would cost each office call a switch of threads.
    if (wake) wake_.notify_all();
    return Watch(this, id);
}

void CallWatchdog::release(std::uint64_t id) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.erase(id);
}

void CallWatchdog::loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    // Without a call to watch, the thread looks again after this long by itself.
    constexpr auto idleLook = std::chrono::milliseconds(500);
    while (!stopping_) {
        if (entries_.empty()) {
            nextLook_ = Clock::now() + idleLook;
            wake_.wait_until(lock, nextLook_);
            continue;
        }
        auto earliest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->second.deadline < earliest->second.deadline) earliest = it;
        if (Clock::now() < earliest->second.deadline) {
            nextLook_ = std::min(earliest->second.deadline, Clock::now() + idleLook);
            wake_.wait_until(lock, nextLook_);
            continue;
        }
        const pid_t pid = earliest->second.pid;
        entries_.erase(earliest);
        // Only the office itself: the id is checked to still run the office binary.
        if (processIs(pid, QStringLiteral("soffice.bin"))) {
            fired_ = true;
            signalProcess(pid, SIGKILL);
        }
    }
}

} // namespace zk::calc
