#include "site/WorkerPool.h"

#include <system_error>

namespace zk::site {

WorkerPool::WorkerPool(size_t initial, size_t ceiling, std::chrono::milliseconds idleEnd)
    : initial_(initial > 0 ? initial : 1), ceiling_(ceiling > initial_ ? ceiling : initial_), idleEnd_(idleEnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < initial_; ++i) addWorker();
}

WorkerPool::~WorkerPool() { shutdown(); }

void WorkerPool::addWorker() {
    try {
        std::thread thread([this] { work(); });
        const std::thread::id id = thread.get_id();
        threads_.emplace(id, std::move(thread));
        // Free from the start: a job queued before it waits is still its to take.
        ++idle_;
    } catch (const std::system_error&) {
        // No thread to be had: the job waits for a worker that is already there.
    }
}

void WorkerPool::enqueue(std::function<void()> job) {
    joinEnded();
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
    // Every waiting job should have a free worker of its own.
    if (jobs_.size() > idle_ && threads_.size() < ceiling_) addWorker();
    wake_.notify_one();
}

void WorkerPool::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const bool woken = wake_.wait_for(lock, idleEnd_, [this] { return !jobs_.empty() || shutdown_; });
        if (jobs_.empty()) {
            if (shutdown_) {
                --idle_;
                return;
            }
            if (!woken && threads_.size() > initial_) {
                --idle_;
                // Joined by the next enqueue() or by shutdown(), from ended_.
                auto self = threads_.find(std::this_thread::get_id());
                if (self != threads_.end()) {
                    ended_.push_back(std::move(self->second));
                    threads_.erase(self);
                }
                return;
            }
            continue;
        }
        --idle_;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
        ++idle_;
    }
}

void WorkerPool::joinEnded() {
    std::vector<std::thread> ended;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ended.swap(ended_);
    }
    for (std::thread& t : ended) t.join();
}

void WorkerPool::shutdown() {
    std::map<std::thread::id, std::thread> threads;
    {
        // Workers finish the queued jobs; none ends for idleness from here on.
        std::lock_guard<std::mutex> lock(mutex_);
        shutdown_ = true;
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (auto& [id, t] : threads) t.join();
    joinEnded();
}

size_t WorkerPool::workers() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return threads_.size();
}

} // namespace zk::site
