// The pool runs jobs on threads of its own, each with its own imaging factory.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>

#include "convert/imaging.h"
#include "convert/job_guard.h"
#include "convert/worker_pool.h"
#include "support/main_window_fixture.h"

TEST(WorkerPool, RunsJobsOnWorkersWithFactoriesOfTheirOwn)
{
    std::mutex mutex;
    std::set<IWICImagingFactory*> factories;
    std::atomic<int> done = 0;
    const DWORD caller = GetCurrentThreadId();
    {
        WorkerPool pool(2);
        ASSERT_EQ(pool.size(), 2u);
        for (int i = 0; i < 8; ++i) {
            pool.submit([&] {
                const std::lock_guard lock(mutex);
                factories.insert(imagingFactory());
                ++done;
                // Wakes the caller's wait, which otherwise only ends with a message.
                PostThreadMessageW(caller, WM_NULL, 0, 0);
            });
        }
        ASSERT_TRUE(pumpUntil([&] { return done == 8; }));
    }
    // Not the caller's factory, so not the caller's thread either.
    EXPECT_EQ(factories.count(imagingFactory()), 0u);
}

TEST(WorkerPool, AJobThatThrowsFailsInsteadOfEndingTheProcess)
{
    EXPECT_EQ(runGuarded([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(runGuarded([]() -> HRESULT { return static_cast<HRESULT>(std::wstring().at(1)); }), E_UNEXPECTED);
    EXPECT_EQ(runGuarded([] { return S_FALSE; }), S_FALSE);
}
