// Threads that run jobs away from the window's thread. Every worker opens COM
// for itself (multithreaded) and has an imaging factory of its own; a job
// reports back by posting to a window, never by touching one.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WorkerPool {
public:
    explicit WorkerPool(unsigned workerCount);
    // Jobs that have not started are dropped; running ones finish first.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void submit(std::function<void()> job);
    unsigned size() const { return static_cast<unsigned>(threads_.size()); }

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// One worker per logical processor, at most 8, and no more than available
// physical memory holds at bytesPerJob + 64 MB each; always at least one.
unsigned workerCountFor(std::uint64_t bytesPerJob);
