// A fixed set of worker threads over one queue of jobs.
#include "convert/worker_pool.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "convert/imaging.h"

WorkerPool::WorkerPool(unsigned workerCount)
{
    threads_.reserve(workerCount);
    for (unsigned i = 0; i < workerCount; ++i) threads_.emplace_back(&WorkerPool::work, this);
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::submit(std::function<void()> job)
{
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkerPool::work()
{
    const bool comOpen = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    // Without a factory of its own the worker falls back to the process's.
    static_cast<void>(createThreadImagingFactory());
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
    releaseThreadImagingFactory();
    if (comOpen) CoUninitialize();
}

unsigned workerCountFor(std::uint64_t bytesPerJob)
{
    constexpr unsigned kMostWorkers = 8;
    // What a worker needs beside the frame: its codecs, the scaled and converted copies.
    const DWORDLONG bytesPerWorker = bytesPerJob + 64ull * 1024 * 1024;
    unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, kMostWorkers);
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    if (GlobalMemoryStatusEx(&memory)) {
        const DWORDLONG affordable = std::max<DWORDLONG>(memory.ullAvailPhys / bytesPerWorker, 1);
        count = static_cast<unsigned>(std::min<DWORDLONG>(count, affordable));
    }
    return count;
}
