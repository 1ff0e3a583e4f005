// Names are chosen on the run's own thread in list order as images are handed
// out, so they are the names a one-at-a-time run would give; workers only
// transcode and report, and a failed image never stops the run nor leaves a file.
#include "convert/conversion_run.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "convert/encoder_lookup.h"
#include "convert/error_text.h"
#include "convert/exclusive_file_stream.h"
#include "convert/job_guard.h"
#include "convert/run_summary.h"
#include "convert/transcode.h"

namespace {
// File names compare as Windows compares them, whatever their case.
bool pathLess(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

// True when a directory (or a link to one) stands there afterwards.
bool ensureDirectory(const std::wstring& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    return std::filesystem::is_directory(folder, error) && !error;
}

// A decoded frame at four bytes a pixel, the most a run's pixel formats take.
std::uint64_t largestFrameBytes(const std::vector<ImageEntry>& entries)
{
    std::uint64_t largest = 0;
    for (const ImageEntry& entry : entries)
        largest = std::max<std::uint64_t>(largest, std::uint64_t{entry.width} * entry.height * 4);
    return largest;
}
}  // namespace

// How many images are in workers' hands, for a wait that must not outlast a
// session's end.
struct ConversionRun::InFlight {
    std::mutex mutex;
    std::condition_variable changed;
    unsigned count = 0;
};

StartProblem checkRunStart(const std::wstring& targetFolder, std::wstring_view extension, GUID& containerFormat)
{
    if (!ensureDirectory(targetFolder)) return StartProblem::FolderUnusable;
    if (!findEncoder(extension, containerFormat)) return StartProblem::NoEncoder;
    return StartProblem::None;
}

ConversionRun::ConversionRun(RunPlan plan, RunObserver& observer, DoneReport report)
    : plan_(std::move(plan)), observer_(observer), report_(std::move(report)), claims_(pathLess),
      inFlight_(std::make_shared<InFlight>())
{
    const unsigned workers =
        plan_.workerCount ? plan_.workerCount : workerCountFor(largestFrameBytes(plan_.entries));
    pool_ = std::make_unique<WorkerPool>(
        static_cast<unsigned>(std::clamp<std::size_t>(plan_.entries.size(), 1, workers)));
}

ConversionRun::~ConversionRun() = default;

void ConversionRun::start()
{
    handOut();
}

void ConversionRun::submit(std::size_t index, const OutputName& name)
{
    const ImageEntry& entry = plan_.entries[index];
    const PixelSize target = targetSize(entry.width, entry.height, plan_.settings);
    claims_[name.path] = NameClaim::Pending;
    converting_[index] = name;
    {
        const std::lock_guard lock(inFlight_->mutex);
        ++inFlight_->count;
    }
    pool_->submit([report = report_, inFlight = inFlight_, index, entry, target, path = name.path,
                   container = plan_.containerFormat, extension = plan_.extension,
                   quality = plan_.settings.quality] {
        const HRESULT result =
            runGuarded([&] { return transcodeImageToSize(entry, target, path, container, extension, quality); });
        report(index, result);
        const std::lock_guard lock(inFlight->mutex);
        --inFlight->count;
        inFlight->changed.notify_all();
    });
}

// Hands out images in list order while workers are free. A name given to an
// image still converting is waited for: should that image fail, the name is
// free again, just as when images go one at a time.
void ConversionRun::handOut()
{
    const auto claimOf = [this](const std::wstring& path) {
        const auto claim = claims_.find(path);
        return claim == claims_.end() ? NameClaim::None : claim->second;
    };
    const std::size_t count = plan_.entries.size();
    while (!cancelled_ && converting_.size() < pool_->size()) {
        const bool renaming = !renaming_.empty();
        const std::size_t index = renaming ? *renaming_.begin() : next_;
        if (index >= count) return;
        const std::wstring& source = plan_.entries[index].path;
        const OutputName name = uniqueOutputPath(plan_.targetFolder, source, plan_.extension, claimOf);
        if (name.path.empty()) return;
        if (renaming) {
            renaming_.erase(renaming_.begin());
        } else {
            observer_.imageHandedOut(progressStatusText(++next_, count, fileNameOf(source)));
        }
        submit(index, name);
    }
}

void ConversionRun::imageDone(std::size_t index, HRESULT result)
{
    const auto converting = converting_.find(index);
    if (converting == converting_.end()) return;
    const OutputName name = converting->second;
    converting_.erase(converting);
    if (isNameTaken(result) && !name.last) {
        // Something appeared under the name after it was chosen, or a file
        // there is still pending deletion: the image gets the next name of
        // the sequence, before any later image.
        claims_[name.path] = NameClaim::Taken;
        renaming_.insert(index);
    } else {
        ImageOutcome outcome{index, name.path, result, {}, ++finished_};
        if (FAILED(result)) {
            // The transcode removed what it created, so the name is free again.
            claims_.erase(name.path);
            outcome.failureLine = failureLine(fileNameOf(plan_.entries[index].path), errorTextFor(result));
            failureLines_[index] = outcome.failureLine;
        } else {
            claims_[name.path] = NameClaim::Taken;
            ++succeeded_;
        }
        observer_.imageFinished(outcome);
    }
    handOut();
}

bool ConversionRun::waitForWorkers(std::chrono::milliseconds limit)
{
    std::unique_lock lock(inFlight_->mutex);
    return inFlight_->changed.wait_for(lock, limit, [this] { return inFlight_->count == 0; });
}

std::wstring ConversionRun::finalStatus() const
{
    return finalStatusText(succeeded_, plan_.entries.size());
}

std::wstring ConversionRun::summary(std::size_t listLimit) const
{
    std::vector<std::wstring> lines;
    for (const auto& [index, line] : failureLines_) lines.push_back(line);
    std::wstring text = summaryText(succeeded_, plan_.entries.size(), lines, listLimit);
    // Whatever was never handed out, or waited for another name, was not converted.
    const std::uint64_t notStarted = plan_.entries.size() - next_ + renaming_.size();
    if (cancelled_ && notStarted > 0) text += cancelledText(notStarted);
    return text;
}
