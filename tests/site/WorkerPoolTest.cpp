// The site's connection workers: more when every worker is held, back to the first few after.
#include "site/WorkerPool.h"

#include <atomic>
#include <gtest/gtest.h>

using zk::site::WorkerPool;
using namespace std::chrono_literals;

namespace {

// Holds every job that runs until released; counts the jobs that started.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int started = 0;

    std::function<void()> job() {
        return [this] {
            std::unique_lock<std::mutex> lock(mutex);
            ++started;
            changed.notify_all();
            changed.wait(lock, [this] { return open; });
        };
    }
    bool waitStarted(int n) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 20s, [&] { return started >= n; });
    }
    void release() {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
        changed.notify_all();
    }
};

} // namespace

TEST(WorkerPool, HeldWorkersDoNotHoldUpTheNextJobAndExtraWorkersEndWhenIdle) {
    Gate gate;
    WorkerPool pool(2, 50, 200ms);
    EXPECT_EQ(pool.workers(), 2u);
    for (int i = 0; i < 40; ++i) pool.enqueue(gate.job());
    // Every job runs at once, although only two workers were there when they came.
    ASSERT_TRUE(gate.waitStarted(40));
    EXPECT_EQ(pool.workers(), 40u);
    gate.release();
    for (int i = 0; i < 100 && pool.workers() > 2; ++i) std::this_thread::sleep_for(50ms);
    EXPECT_EQ(pool.workers(), 2u);
    // Those that stayed still take work.
    std::atomic<bool> ran{false};
    pool.enqueue([&] { ran = true; });
    for (int i = 0; i < 100 && !ran; ++i) std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(ran);
}

TEST(WorkerPool, StopsAtItsCeilingAndFinishesQueuedJobsOnShutdown) {
    Gate gate;
    std::atomic<int> done{0};
    WorkerPool pool(1, 3, 10s);
    for (int i = 0; i < 3; ++i) pool.enqueue(gate.job());
    ASSERT_TRUE(gate.waitStarted(3));
    for (int i = 0; i < 5; ++i) pool.enqueue([&] { ++done; });
    EXPECT_EQ(pool.workers(), 3u);
    EXPECT_EQ(done, 0);
    gate.release();
    pool.shutdown();
    EXPECT_EQ(done, 5);
    EXPECT_EQ(pool.workers(), 0u);
}
