// Every candidate is probed as a job of a worker pool made for the reading. The
// workers record results under a lock and post at most one message at a time, so
// the window's queue never fills up however many files there are.
#include "imagelist/image_reading.h"

#include <commctrl.h>

#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "convert/job_guard.h"
#include "convert/worker_pool.h"
#include "imagelist/image_entry.h"
#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "settings/settings_panel.h"

namespace {
// Shared between the workers and the window's thread.
struct ProbeResults {
    explicit ProbeResults(std::size_t count) : entries(count), finished(count, false) {}
    std::mutex mutex;
    std::vector<std::optional<ImageEntry>> entries;  // empty for an unreadable file
    std::vector<bool> finished;
    std::size_t finishedCount = 0;
    bool messagePending = false;
};

// The window's side of one reading.
struct Reading {
    WPARAM id = 0;
    std::vector<std::wstring> paths;
    std::shared_ptr<ProbeResults> results;
    std::size_t firstUnfinished = 0;
    std::wstring statusBefore;
    PBRANGE rangeBefore{};
    LRESULT positionBefore = 0;
};

std::optional<Reading> gReading;
std::unique_ptr<WorkerPool> gWorkers;
WPARAM gLastReadingId = 0;

void probeInto(ProbeResults& results, std::size_t index, const std::wstring& path, HWND window, WPARAM id)
{
    ImageEntry entry;
    const bool readable = SUCCEEDED(runGuarded([&] { return probeImage(path, entry) ? S_OK : E_FAIL; }));
    bool post = false;
    {
        const std::lock_guard lock(results.mutex);
        if (readable) results.entries[index] = std::move(entry);
        results.finished[index] = true;
        ++results.finishedCount;
        post = !std::exchange(results.messagePending, true);
    }
    if (post) PostMessageW(window, kImagesReadMessage, id, 0);
}

// i counts from 1; the name is that of the first file not yet read, which a worker has in hand.
void showReadingStatus(std::size_t finishedCount, const std::wstring& path)
{
    const std::wstring text = L"Lese " + std::to_wstring(finishedCount + 1) + L" von " +
                              std::to_wstring(gReading->paths.size()) + L": " + fileNameOf(path);
    SendMessageW(control(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(finishedCount), 0);
    SetWindowTextW(control(kStatusText), text.c_str());
}

void finishReading()
{
    const Reading reading = std::move(*gReading);
    gReading.reset();
    gWorkers.reset();
    unsigned unreadable = 0;
    for (std::optional<ImageEntry>& entry : reading.results->entries) {
        if (entry)
            imageList().append(std::move(*entry));
        else
            ++unreadable;
    }
    SetWindowTextW(control(kStatusText), reading.statusBefore.c_str());
    HWND progress = control(kProgressBar);
    SendMessageW(progress, PBM_SETRANGE32, reading.rangeBefore.iLow, reading.rangeBefore.iHigh);
    SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(reading.positionBefore), 0);
    setPanelLocked(false);
    rebuildImageListView();
    if (unreadable > 0)
        showMessage(std::to_wstring(unreadable) + L" Datei(en) konnten von Windows nicht als Bild gelesen werden.",
                    MB_ICONWARNING);
}
}  // namespace

void readImagesIntoList(std::vector<std::wstring> candidates)
{
    HWND progress = control(kProgressBar);
    Reading& reading = gReading.emplace();
    reading.id = ++gLastReadingId;
    reading.paths = std::move(candidates);
    reading.results = std::make_shared<ProbeResults>(reading.paths.size());
    reading.statusBefore = readControlText(control(kStatusText));
    SendMessageW(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&reading.rangeBefore));
    reading.positionBefore = SendMessageW(progress, PBM_GETPOS, 0, 0);

    setPanelLocked(true);
    SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(reading.paths.size()));
    showReadingStatus(0, reading.paths.front());

    gWorkers = std::make_unique<WorkerPool>(defaultWorkerCount());
    for (std::size_t i = 0; i < reading.paths.size(); ++i) {
        gWorkers->submit([results = reading.results, i, path = reading.paths[i], window = mainWindow(),
                          id = reading.id] { probeInto(*results, i, path, window, id); });
    }
}

bool isReadingImages()
{
    return gReading.has_value();
}

void onImagesRead(WPARAM reading)
{
    if (!gReading || gReading->id != reading) return;
    ProbeResults& results = *gReading->results;
    std::size_t finishedCount = 0;
    {
        const std::lock_guard lock(results.mutex);
        results.messagePending = false;
        finishedCount = results.finishedCount;
        while (gReading->firstUnfinished < results.finished.size() && results.finished[gReading->firstUnfinished])
            ++gReading->firstUnfinished;
    }
    if (finishedCount == gReading->paths.size())
        finishReading();
    else
        showReadingStatus(finishedCount, gReading->paths[gReading->firstUnfinished]);
}

void stopReadingImages()
{
    gWorkers.reset();
    gReading.reset();
}
