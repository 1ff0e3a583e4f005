// The edge of every job a worker thread runs: whatever the job throws becomes a
// failed HRESULT, reported like any other failure, so that no exception ever
// reaches std::thread (which would end the process).
#pragma once

#include <windows.h>

#include <new>

template <typename Job>
HRESULT runGuarded(Job&& job) noexcept
{
    try {
        return job();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
