// The window's thread checks, chooses every name and keeps the run's state;
// workers only transcode copies and post the outcome. Names are chosen in list
// order as images are handed out, so they are the names a one-at-a-time run
// would give, and a failed image never stops the run nor leaves a file.
#include "convert/batch_run.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "convert/encoder_lookup.h"
#include "convert/error_text.h"
#include "convert/job_guard.h"
#include "convert/output_naming.h"
#include "convert/run_summary.h"
#include "convert/transcode.h"
#include "convert/worker_pool.h"
#include "imagelist/image_list.h"
#include "settings/settings_panel.h"
#include "settings/settings_reader.h"

namespace {
// File names compare as Windows compares them, whatever their case.
struct PathLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const
    {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_LESS_THAN;
    }
};

struct BatchRun {
    std::wstring targetFolder;
    std::wstring extension;
    GUID containerFormat{};
    int quality = 0;
    ConversionSettings settings;
    std::size_t count = 0;
    std::size_t next = 0;                          // the first image not handed out yet
    std::set<std::size_t> renaming;                // found their name taken; wait for the next one
    std::map<std::size_t, OutputName> converting;  // by list index, with the name each was given
    std::map<std::wstring, NameClaim, PathLess> claims;
    std::uint64_t succeeded = 0;
    std::uint64_t finished = 0;
    std::map<std::size_t, std::wstring> failureLines;  // keyed by list index, so in list order
    bool cancelled = false;
    bool closeWhenEnded = false;
    bool asking = false;
    std::unique_ptr<WorkerPool> pool;
};

std::unique_ptr<BatchRun> gRun;
unsigned gWorkerCount = 0;

// Creates the folder with its parents; true when a directory (or a link to
// one) stands there afterwards.
bool ensureDirectory(const std::wstring& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    return std::filesystem::is_directory(folder, error) && !error;
}

void showStatus(const std::wstring& text)
{
    HWND status = control(kStatusText);
    SetWindowTextW(status, text.c_str());
    UpdateWindow(status);
}

std::wstring noEncoderText(const std::wstring& extension)
{
    return L"F\u00fcr " + extension +
           L" ist auf diesem Windows-System kein Ausgabe-Encoder installiert.\n\n"
           L"Bitte w\u00e4hle ein anderes Zielformat oder installiere eine passende Windows-Codec-Erweiterung.";
}

void submit(BatchRun& run, std::size_t index, const OutputName& name)
{
    const ImageEntry& entry = imageList()[index];
    const PixelSize target = targetSize(entry.width, entry.height, run.settings);
    run.claims[name.path] = NameClaim::Pending;
    run.converting[index] = name;
    run.pool->submit([window = mainWindow(), index, entry, target, path = name.path, container = run.containerFormat,
                      extension = run.extension, quality = run.quality] {
        const HRESULT result =
            runGuarded([&] { return transcodeImageToSize(entry, target, path, container, extension, quality); });
        PostMessageW(window, kImageDoneMessage, index, static_cast<LPARAM>(result));
    });
}

// Hands out images in list order while workers are free. A name given to an
// image still converting is waited for: should that image fail, the name is
// free again, just as when images go one at a time.
void handOut(BatchRun& run)
{
    const auto claimOf = [&run](const std::wstring& path) {
        const auto claim = run.claims.find(path);
        return claim == run.claims.end() ? NameClaim::None : claim->second;
    };
    while (!run.cancelled && run.converting.size() < run.pool->size()) {
        const bool renaming = !run.renaming.empty();
        const std::size_t index = renaming ? *run.renaming.begin() : run.next;
        if (index >= run.count) return;
        const std::wstring& source = imageList()[index].path;
        const OutputName name = uniqueOutputPath(run.targetFolder, source, run.extension, claimOf);
        if (name.path.empty()) return;
        if (renaming) {
            run.renaming.erase(run.renaming.begin());
        } else {
            showStatus(progressStatusText(++run.next, run.count, fileNameOf(source)));
        }
        submit(run, index, name);
    }
}

void endRun()
{
    const std::unique_ptr<BatchRun> run = std::move(gRun);
    // Whatever was never handed out, or waited for another name, was not converted.
    const std::uint64_t notStarted = run->count - run->next + run->renaming.size();
    std::vector<std::wstring> failureLines;
    for (const auto& [index, line] : run->failureLines) failureLines.push_back(line);
    std::wstring summary = summaryText(run->succeeded, run->count, failureLines);
    if (run->cancelled) summary += cancelledText(notStarted);
    // Every worker is idle by now, so this joins them at once.
    run->pool.reset();

    setPanelBusy(false);
    SetWindowTextW(control(kStartButton), L"Konvertierung starten");
    showStatus(finalStatusText(run->succeeded, run->count));
    showMessage(summary, failureLines.empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
    if (run->closeWhenEnded) DestroyWindow(mainWindow());
}

// Ends the run once nothing converts any more, unless the question is still open.
void endRunIfIdle()
{
    if (gRun && !gRun->asking && gRun->converting.empty()) endRun();
}

void askToCancel(bool closing)
{
    // Once cancelled there is nothing left to ask; closing just waits for the end.
    if (gRun->cancelled) gRun->closeWhenEnded = gRun->closeWhenEnded || closing;
    if (gRun->asking || gRun->cancelled) return;
    gRun->asking = true;
    const int answer = userPrompts().messageBox(mainWindow(), L"Soll die Konvertierung abgebrochen werden?",
                                                L"Lumora", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    // Images kept converting while the box was open; the window may even be gone.
    if (!gRun) return;
    gRun->asking = false;
    if (answer == IDYES) {
        gRun->cancelled = true;
        gRun->closeWhenEnded = closing;
    }
    endRunIfIdle();
}
}  // namespace

void runBatchConversion()
{
    if (imageList().empty()) {
        showMessage(L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.", MB_ICONINFORMATION);
        return;
    }
    const std::wstring targetFolder = readControlText(control(kTargetFolderEdit));
    if (targetFolder.empty()) {
        showMessage(L"Bitte w\u00e4hle ein Zielverzeichnis aus.", MB_ICONINFORMATION);
        return;
    }
    if (!ensureDirectory(targetFolder)) {
        showMessage(L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.", MB_ICONERROR);
        return;
    }
    const std::wstring extension = selectedOutputFormat().extension;
    GUID containerFormat{};
    if (!findEncoder(extension, containerFormat)) {
        showMessage(noEncoderText(extension), MB_ICONWARNING);
        return;
    }

    setPanelBusy(true);
    // The one control left usable: it cancels.
    EnableWindow(control(kStartButton), TRUE);
    SetWindowTextW(control(kStartButton), L"Abbrechen");
    auto run = std::make_unique<BatchRun>();
    run->targetFolder = targetFolder;
    run->extension = extension;
    run->containerFormat = containerFormat;
    run->count = imageList().size();
    HWND progress = control(kProgressBar);
    SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(run->count));
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    run->quality = static_cast<int>(SendMessageW(control(kQualityTrackbar), TBM_GETPOS, 0, 0));
    // The panel is locked, so every image sees these settings.
    run->settings = readConversionSettings();
    const unsigned workers = gWorkerCount ? gWorkerCount : defaultWorkerCount();
    run->pool = std::make_unique<WorkerPool>(static_cast<unsigned>(std::min<std::size_t>(workers, run->count)));
    gRun = std::move(run);
    handOut(*gRun);
}

void onImageDone(WPARAM index, LPARAM result)
{
    if (!gRun) return;
    BatchRun& run = *gRun;
    const auto converting = run.converting.find(index);
    if (converting == run.converting.end()) return;
    const OutputName name = converting->second;
    run.converting.erase(converting);
    const auto hr = static_cast<HRESULT>(result);
    if (isNameTaken(hr) && !name.last) {
        // Something appeared under the name after it was chosen: the image
        // gets the next name of the sequence, before any later image.
        run.claims[name.path] = NameClaim::Taken;
        run.renaming.insert(index);
    } else {
        if (FAILED(hr)) {
            // The transcode removed what it created, so the name is free again.
            run.claims.erase(name.path);
            run.failureLines[index] = failureLine(fileNameOf(imageList()[index].path), errorTextFor(hr));
        } else {
            run.claims[name.path] = NameClaim::Taken;
            ++run.succeeded;
        }
        SendMessageW(control(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(++run.finished), 0);
    }
    handOut(run);
    endRunIfIdle();
}

void onCommandDuringRun(int id, int notification)
{
    if (!gRun) return;
    if (id == kStartButton && notification == BN_CLICKED) {
        gRun->cancelled = true;
        endRunIfIdle();
    } else if (id == IDCANCEL) {
        askToCancel(false);
    }
}

void onCloseDuringRun()
{
    if (gRun) askToCancel(true);
}

void abandonBatchRun()
{
    gRun.reset();
}

void setBatchWorkerCount(unsigned count)
{
    gWorkerCount = count;
}
