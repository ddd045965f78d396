#pragma once
// The threads that answer the site's connections. Each connection holds a worker until the
// client has gone or stayed silent for the keep-alive time, so a fixed number of workers lets a
// few hundred idle connections hold up every real request behind them. This pool starts small
// and adds a worker whenever a connection arrives and none is free, up to a ceiling; workers
// above the starting number end after a while without work.
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace zk::site {

class WorkerPool : public httplib::TaskQueue {
public:
    WorkerPool(size_t initial, size_t ceiling, std::chrono::milliseconds idleEnd = std::chrono::seconds(30));
    ~WorkerPool() override;
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void enqueue(std::function<void()> job) override;
    // Ends the workers once the queued jobs are done.
    void shutdown() override;

    size_t workers() const;

private:
    void addWorker();   // with mutex_ held
    void work();
    void joinEnded();

    const size_t initial_;
    const size_t ceiling_;
    const std::chrono::milliseconds idleEnd_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    std::map<std::thread::id, std::thread> threads_;
    std::vector<std::thread> ended_;   // workers that left for lack of work, to be joined
    size_t idle_ = 0;                  // workers not running a job, including those just made
    bool shutdown_ = false;
};

} // namespace zk::site
