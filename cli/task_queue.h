// The console program's driver: what workers and the Ctrl+C handler report is
// queued as a task, and the main thread, which owns the run's state, runs the
// tasks one at a time.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class TaskQueue {
public:
    // From any thread.
    void post(std::function<void()> task);
    // Waits for the next task and runs it on the calling thread.
    void runNext();

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};
