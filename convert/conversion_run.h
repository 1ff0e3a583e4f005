// One conversion run without a window: the images handed out in list order to
// worker threads, every name chosen and held on the run's own thread, cancel,
// and the texts of its end. The window and the console program both drive it.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "convert/output_naming.h"
#include "convert/worker_pool.h"
#include "imagelist/image_entry.h"
#include "settings/scaling.h"

struct RunPlan {
    std::vector<ImageEntry> entries;
    std::wstring targetFolder;
    std::wstring extension;
    GUID containerFormat{};
    ConversionSettings settings;  // its quality is the run's
    unsigned workerCount = 0;     // 0: as many as processors and memory allow
};

struct ImageOutcome {
    std::size_t index = 0;
    std::wstring outputPath;
    HRESULT result = S_OK;
    std::wstring failureLine;  // empty when the image was written
    std::uint64_t finished = 0;
};

// Told every step on the run's own thread; it knows no window.
class RunObserver {
public:
    // "Verarbeite i von N: name" as an image is handed out.
    virtual void imageHandedOut(const std::wstring& progressText) = 0;
    virtual void imageFinished(const ImageOutcome& outcome) = 0;

protected:
    ~RunObserver() = default;
};

// Called on a worker when its image is done; the driver carries it to the
// run's own thread, which passes it on to imageDone.
using DoneReport = std::function<void(std::size_t index, HRESULT result)>;

enum class StartProblem { None, FolderUnusable, NoEncoder };

// Creates the folder with its parents and finds the encoder for the extension.
StartProblem checkRunStart(const std::wstring& targetFolder, std::wstring_view extension, GUID& containerFormat);

class ConversionRun {
public:
    ConversionRun(RunPlan plan, RunObserver& observer, DoneReport report);
    // Images not started are dropped; the ones converting finish first.
    ~ConversionRun();
    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    // Hands out the first images; over() at once for an empty list.
    void start();
    void imageDone(std::size_t index, HRESULT result);
    // Nothing more is handed out; the images converting finish.
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    bool over() const { return converting_.empty(); }
    bool anyFailed() const { return !failureLines_.empty(); }
    // Waits, on any thread, until no worker holds an image or the time is up.
    bool waitForWorkers(std::chrono::milliseconds limit);

    std::wstring finalStatus() const;
    // The count line, at most listLimit failure lines, and the cancelled line when images were left.
    std::wstring summary(std::size_t listLimit) const;

private:
    struct InFlight;
    void handOut();
    void submit(std::size_t index, const OutputName& name);

    RunPlan plan_;
    RunObserver& observer_;
    DoneReport report_;
    std::size_t next_ = 0;                          // the first image not handed out yet
    std::set<std::size_t> renaming_;                // found their name taken; wait for the next one
    std::map<std::size_t, OutputName> converting_;  // by list index, with the name each was given
    std::map<std::wstring, NameClaim, bool (*)(const std::wstring&, const std::wstring&)> claims_;
    std::uint64_t succeeded_ = 0;
    std::uint64_t finished_ = 0;
    std::map<std::size_t, std::wstring> failureLines_;  // keyed by list index, so in list order
    bool cancelled_ = false;
    std::shared_ptr<InFlight> inFlight_;
    std::unique_ptr<WorkerPool> pool_;
};
