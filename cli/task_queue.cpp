// The task runs outside the lock, so that it may post again.
#include "cli/task_queue.h"

#include <utility>

void TaskQueue::post(std::function<void()> task)
{
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
}

void TaskQueue::runNext()
{
    std::function<void()> task;
    {
        std::unique_lock lock(mutex_);
        posted_.wait(lock, [this] { return !tasks_.empty(); });
        task = std::move(tasks_.front());
        tasks_.pop_front();
    }
    task();
}
