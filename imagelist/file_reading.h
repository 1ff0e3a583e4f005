// Reading what was dropped or named, without a window: the paths expanded and
// every file probed on worker threads, the readable ones as entries in the
// order given, the rest counted. Its state belongs to one thread; workers only
// record what they found and wake that thread.
#pragma once

#include <functional>
#include <memory>
#include <cstddef>
#include <string>
#include <vector>

#include "convert/worker_pool.h"
#include "imagelist/image_entry.h"

// Told on the reading's own thread, during update.
// The one warning about the files that could not be read as images.
std::wstring unreadableFilesText(std::size_t count);

class ReadingObserver {
public:
    // The files to read are known: neither listed nor repeated; none when count is 0.
    virtual void filesFound(std::size_t count) = 0;
    // finished files are read; nextPath is the first one still being read.
    virtual void filesRead(std::size_t finished, std::size_t count, const std::wstring& nextPath) = 0;

protected:
    ~ReadingObserver() = default;
};

class FileReading {
public:
    // listed says, on the reading's own thread, whether a path is in the list
    // already; wake is called on a worker when there is news, once until update runs.
    FileReading(std::vector<std::wstring> paths, std::function<bool(const std::wstring&)> listed,
                 std::function<void()> wake, ReadingObserver& observer);
    // Drops what is not yet read and waits for the files being read.
    ~FileReading();
    FileReading(const FileReading&) = delete;
    FileReading& operator=(const FileReading&) = delete;

    // Takes in what the workers found and tells the observer; true once all is read.
    bool update();
    // Once all is read: the readable files in the order given, and the number of the others.
    std::vector<ImageEntry> takeEntries();
    unsigned unreadable() const { return unreadable_; }

private:
    struct Shared;
    void probeAll(const std::vector<std::wstring>& found);

    std::function<bool(const std::wstring&)> listed_;
    ReadingObserver& observer_;
    std::shared_ptr<Shared> shared_;
    std::vector<std::wstring> candidates_;
    bool expanded_ = false;
    bool done_ = false;
    std::size_t firstUnfinished_ = 0;
    unsigned unreadable_ = 0;
    std::vector<ImageEntry> entries_;
    std::unique_ptr<WorkerPool> pool_;
};
