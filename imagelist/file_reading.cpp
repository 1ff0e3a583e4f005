// The folder walk is a job like every probe, so a large tree or a slow share
// never holds up the reading's thread. Workers record results under a lock and
// wake that thread at most once until it has looked, so however many files
// there are, its queue never fills up.
#include "imagelist/file_reading.h"

#include <windows.h>

#include <mutex>
#include <optional>
#include <unordered_set>
#include <utility>

#include "convert/job_guard.h"
#include "imagelist/image_list.h"
#include "imagelist/path_expansion.h"

namespace {
// With the pool's 64 MB a worker, the 512 MB a probe has always been given:
// the decoders of some formats decode the whole frame when opened.
constexpr std::uint64_t kProbeBytes = 448ull * 1024 * 1024;
}  // namespace

// Shared between the workers and the reading's own thread.
struct FileReading::Shared {
    std::mutex mutex;
    std::optional<std::vector<std::wstring>> expanded;
    std::vector<std::optional<ImageEntry>> entries;  // empty for an unreadable file
    std::vector<bool> finished;
    std::size_t finishedCount = 0;
    bool wakePending = false;
    std::function<void()> wake;

    // Called with the lock held; the caller wakes when this says so, after unlocking.
    bool takeWake() { return !std::exchange(wakePending, true); }
};

FileReading::FileReading(std::vector<std::wstring> paths, std::function<bool(const std::wstring&)> listed,
                         std::function<void()> wake, ReadingObserver& observer)
    : listed_(std::move(listed)), observer_(observer), shared_(std::make_shared<Shared>()),
      pool_(std::make_unique<WorkerPool>(workerCountFor(kProbeBytes)))
{
    shared_->wake = std::move(wake);
    pool_->submit([shared = shared_, paths = std::move(paths)] {
        std::vector<std::wstring> found;
        // Should the walk fail, the paths go on as they are and count as unreadable.
        if (FAILED(runGuarded([&] {
                found = expandPaths(paths);
                return S_OK;
            })))
            found = paths;
        bool wake = false;
        {
            const std::lock_guard lock(shared->mutex);
            shared->expanded = std::move(found);
            wake = shared->takeWake();
        }
        if (wake) shared->wake();
    });
}

FileReading::~FileReading() = default;

void FileReading::probeAll(const std::vector<std::wstring>& found)
{
    // Of several spellings of one file the first is kept, as if each had been added on its own.
    std::unordered_set<std::wstring> seen;
    for (const std::wstring& candidate : found) {
        if (listed_(candidate) || !seen.insert(asciiCaseFolded(candidate)).second) continue;
        candidates_.push_back(candidate);
    }
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->entries.resize(candidates_.size());
        shared_->finished.resize(candidates_.size(), false);
    }
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        pool_->submit([shared = shared_, i, path = candidates_[i]] {
            ImageEntry entry;
            const bool readable = SUCCEEDED(runGuarded([&] { return probeImage(path, entry) ? S_OK : E_FAIL; }));
            bool wake = false;
            {
                const std::lock_guard lock(shared->mutex);
                if (readable) shared->entries[i] = std::move(entry);
                shared->finished[i] = true;
                ++shared->finishedCount;
                wake = shared->takeWake();
            }
            if (wake) shared->wake();
        });
    }
    observer_.filesFound(candidates_.size());
}

bool FileReading::update()
{
    if (done_) return true;
    std::optional<std::vector<std::wstring>> found;
    std::size_t finishedCount = 0;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->wakePending = false;
        if (!expanded_ && shared_->expanded) found = std::move(shared_->expanded);
        finishedCount = shared_->finishedCount;
        while (firstUnfinished_ < shared_->finished.size() && shared_->finished[firstUnfinished_])
            ++firstUnfinished_;
    }
    if (found) {
        expanded_ = true;
        probeAll(*found);
    }
    if (!expanded_) return false;
    if (finishedCount < candidates_.size()) {
        observer_.filesRead(finishedCount, candidates_.size(), candidates_[firstUnfinished_]);
        return false;
    }
    const std::lock_guard lock(shared_->mutex);
    for (std::optional<ImageEntry>& entry : shared_->entries) {
        if (entry)
            entries_.push_back(std::move(*entry));
        else
            ++unreadable_;
    }
    done_ = true;
    return true;
}

std::vector<ImageEntry> FileReading::takeEntries()
{
    return std::move(entries_);
}

std::wstring unreadableFilesText(std::size_t count)
{
    return std::to_wstring(count) + L" Datei(en) konnten von Windows nicht als Bild gelesen werden.";
}
