// Measures the window-side handlers on the real main window: with 10,000 entries
// one list rebuild, one forecast refresh and one settings change, each until the
// window has painted; adding 1,000 images to that list; and the batch run driven
// through the window's messages with 1, 2 and 4 workers and by lumora-cli.exe
// with 1 and 2, against the direct one-thread WIC loop, each in a child process
// of its own.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/drawing_objects.h"
#include "app/main_window.h"
#include "app/user_prompts.h"
#include "bench/photo_workload.h"
#include "convert/batch_run.h"
#include "convert/imaging.h"
#include "forecast/forecast_display.h"
#include "imagelist/image_list.h"
#include "imagelist/image_list_actions.h"
#include "imagelist/image_list_view.h"
#include "imagelist/image_reading.h"
#include "support/main_window_fixture.h"
#include "support/wic_files.h"

namespace {
constexpr int kAddedImages = 1000;
constexpr size_t kListedEntries = 10000;
constexpr int kRepeats = 5;
constexpr unsigned kWorkerCounts[] = {1, 2, 4};
constexpr unsigned kCliWorkerCounts[] = {1, 2};

double millisecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::wstring> writeImages(const TempFolder& folder, int count, UINT width, UINT height,
                                      const GUID& container, const wchar_t* extension)
{
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder.file(L"bild-" + std::to_wstring(i) + extension));
        writeTestImage(paths.back(), container, width, height, GUID_WICPixelFormat24bppBGR);
    }
    return paths;
}

// The open dialog answers with these paths; every other prompt is confirmed at once.
void scriptPrompts(const std::vector<std::wstring>& picked)
{
    userPrompts().messageBox = [](HWND, const std::wstring&, const std::wstring&, UINT) { return IDOK; };
    userPrompts().openFileDialog = [picked](OPENFILENAMEW& dialog) {
        fillOpenDialogBuffer(dialog.lpstrFile, dialog.nMaxFile, picked);
        return OpenDialogOutcome{true, 0};
    };
}

HWND createWindow()
{
    INITCOMMONCONTROLSEX commonControls{sizeof(commonControls), 0xFF};
    InitCommonControlsEx(&commonControls);
    createDrawingObjects();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registerMainWindowClass(instance)) return nullptr;
    HWND window = createMainWindow(instance);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

void listEntries()
{
    imageList().clear();
    for (size_t i = 0; i < kListedEntries; ++i) {
        imageList().append({L"C:\\Bilder\\Urlaub\\foto-" + std::to_wstring(i) + L".jpg", 4000, 3000, 3500000 + i});
    }
    rebuildImageListView();
}

// Adding returns while the files are still being read on workers.
void addImagesAndWait()
{
    addImages();
    pumpUntil([] { return !isReadingImages(); }, 600000);
}

// The handler's work plus the paint it causes: what the user waits for.
double millisecondsUntilPainted(const std::function<void()>& work)
{
    return millisecondsOf([&] {
        work();
        RedrawWindow(mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
}

// Best and slowest of several runs, of the handler alone and until the window has painted.
void printRepeated(const char* label, const std::function<void()>& work)
{
    double best[2] = {1e300, 1e300};
    double worst[2] = {0.0, 0.0};
    for (int repeat = 0; repeat < 2 * kRepeats; ++repeat) {
        const int painted = repeat % 2;
        const double taken = painted ? millisecondsUntilPainted(work) : millisecondsOf(work);
        RedrawWindow(mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        best[painted] = std::min(best[painted], taken);
        worst[painted] = std::max(worst[painted], taken);
    }
    std::printf("%-46s %7.1f ms (slowest %6.1f), until painted %7.1f ms (slowest %6.1f); goal: 50 ms\n", label,
                best[0], worst[0], best[1], worst[1]);
}

void selectScaleMode(int index)
{
    SendMessageW(control(kScaleCombo), CB_SETCURSEL, index, 0);
    SendMessageW(mainWindow(), WM_COMMAND, MAKEWPARAM(kScaleCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control(kScaleCombo)));
}

void measureLongList()
{
    listEntries();
    printRepeated("rebuildImageListView, 10000 entries:", rebuildImageListView);
    printRepeated("refreshForecast, 10000 entries:", refreshForecast);
    // Fixed width, so that every typed width changes every target size.
    selectScaleMode(2);
    int width = 1280;
    printRepeated("width edit set, 10000 entries:", [&] {
        SetWindowTextW(control(kWidthEdit), std::to_wstring(width++).c_str());
    });
    SetWindowTextW(control(kWidthEdit), L"1920");
    selectScaleMode(0);
}

void measureAdding()
{
    TempFolder folder;
    const std::vector<std::wstring> paths =
        writeImages(folder, kAddedImages, 32, 24, GUID_ContainerFormatPng, L".png");
    listEntries();
    scriptPrompts(paths);
    const double added = millisecondsUntilPainted(addImagesAndWait);
    std::printf("addImages, %d small PNG files to %zu entries: %9.1f ms  (%zu listed; goal: at most 2000 ms)\n",
                kAddedImages, kListedEntries, added, imageList().size());
}

// The photos added through the scripted dialog, converted to JPEG 1920 wide
// at quality 85 by a run started and followed through the window's messages.
// Prints the seconds it took and the peak working set.
int runPhase(unsigned workers, const std::wstring& folder)
{
    std::vector<std::wstring> photos;
    for (int i = 0; i < kPhotoCount; ++i) photos.push_back(photoPath(folder, i));
    scriptPrompts(photos);
    bool ended = false;
    userPrompts().messageBox = [&ended](HWND, const std::wstring&, const std::wstring&, UINT) {
        ended = true;
        return IDOK;
    };
    const auto command = [](ControlId id, WORD notification) {
        SendMessageW(mainWindow(), WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control(id)));
    };
    addImagesAndWait();
    const std::wstring output = folder + L"\\out-" + std::to_wstring(workers);
    SetWindowTextW(control(kTargetFolderEdit), output.c_str());
    SendMessageW(control(kScaleCombo), CB_SETCURSEL, 2, 0);  // fixed width, 1920 by default, aspect kept
    command(kScaleCombo, CBN_SELCHANGE);
    setBatchWorkerCount(workers);
    ended = false;
    const double milliseconds = millisecondsOf([&] {
        command(kStartButton, BN_CLICKED);
        pumpUntil([&] { return ended; }, 3600000);
    });
    if (!ended || imageList().size() != photos.size()) return 1;
    std::printf("%.6f %zu\n", milliseconds / 1000.0, peakWorkingSet());
    return 0;
}

int barePhase(const std::wstring& folder)
{
    const double milliseconds = millisecondsOf([&] {
        for (int i = 0; i < kPhotoCount; ++i)
            convertDirectly(photoPath(folder, i), folder + L"\\bare.jpg", GUID_ContainerFormatJpeg, kJpegTarget,
                            GUID_WICPixelFormat24bppBGR, true);
    });
    std::printf("%.6f %zu\n", milliseconds / 1000.0, peakWorkingSet());
    return 0;
}

struct Measured {
    double imagesPerSecond = 0.0;
    double peakMegabytes = 0.0;
};

bool measure(const std::wstring& phase, const std::wstring& folder, Measured& measured)
{
    double seconds = 0.0;
    std::size_t peak = 0;
    if (std::sscanf(runChild(L"--phase " + phase + L" \"" + folder + L"\"").c_str(), "%lf %zu", &seconds, &peak) != 2)
        return false;
    measured = {kPhotoCount / seconds, static_cast<double>(peak) / 1048576.0};
    return true;
}

// lumora-cli.exe, beside this benchmark's folder, converting the photos as the
// window's runs do; timed from its start to its end, reading included.
bool measureCli(unsigned workers, const std::wstring& folder, Measured& measured)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program(self);
    program = program.substr(0, program.find_last_of(L'\\'));
    program = program.substr(0, program.find_last_of(L'\\')) + L"\\lumora-cli.exe";
    std::wstring commandLine = L"\"" + program + L"\" --breite 1920 --parallel " + std::to_wstring(workers) +
                               L" --ziel \"" + folder + L"\\cli-" + std::to_wstring(workers) + L"\"";
    for (int i = 0; i < kPhotoCount; ++i) commandLine += L" \"" + photoPath(folder, i) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    std::size_t peak = 0;
    const double milliseconds = millisecondsOf([&] {
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &process))
            return;
        // Wine reports nothing of a process that has ended, so the peak is read while it runs.
        while (WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
            if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
                peak = std::max(peak, counters.PeakWorkingSetSize);
        }
    });
    if (!process.hProcess) return false;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    measured = {kPhotoCount / (milliseconds / 1000.0), static_cast<double>(peak) / 1048576.0};
    return exitCode == 0;
}

// The direct loop runs before and after the runs; the ratio uses their mean,
// so that a machine busier at one end favours neither side.
void measureBatchRuns()
{
    const std::wstring folder = writePhotos();
    if (folder.empty()) {
        std::printf("batch run: writing the photos failed\n");
        return;
    }
    Measured before;
    Measured after;
    Measured runs[std::size(kWorkerCounts)];
    Measured cliRuns[std::size(kCliWorkerCounts)];
    bool measured = measure(L"bare", folder, before);
    for (size_t i = 0; i < std::size(kWorkerCounts) && measured; ++i)
        measured = measure(L"run-" + std::to_wstring(kWorkerCounts[i]), folder, runs[i]);
    for (size_t i = 0; i < std::size(kCliWorkerCounts) && measured; ++i)
        measured = measureCli(kCliWorkerCounts[i], folder, cliRuns[i]);
    measured = measured && measure(L"bare", folder, after);
    removeFolder(folder);
    if (!measured) {
        std::printf("batch run: a conversion failed\n");
        return;
    }
    const double bare = (before.imagesPerSecond + after.imagesPerSecond) / 2.0;
    std::printf("bare loop: %.2f images/s, peak %.0f MB (%.2f before, %.2f after the runs)\n", bare,
                std::max(before.peakMegabytes, after.peakMegabytes), before.imagesPerSecond, after.imagesPerSecond);
    for (size_t i = 0; i < std::size(kWorkerCounts); ++i) {
        std::printf("workers %u: %.2f images/s, peak %.0f MB, ratio %.2f\n", kWorkerCounts[i],
                    runs[i].imagesPerSecond, runs[i].peakMegabytes, runs[i].imagesPerSecond / bare);
    }
    for (size_t i = 0; i < std::size(kCliWorkerCounts); ++i) {
        std::printf("cli workers %u: %.2f images/s, peak %.0f MB, ratio %.2f\n", kCliWorkerCounts[i],
                    cliRuns[i].imagesPerSecond, cliRuns[i].peakMegabytes, cliRuns[i].imagesPerSecond / bare);
    }
}
}  // namespace

int runPhase(const std::wstring& phase, const std::wstring& folder)
{
    if (phase == L"bare") return barePhase(folder);
    return runPhase(static_cast<unsigned>(std::stoul(phase.substr(4))), folder);
}

int wmain(int argc, wchar_t** argv)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    if (FAILED(createImagingFactory())) return 3;
    if (!createWindow()) return 4;
    int result = 0;
    if (argc == 4 && std::wstring(argv[1]) == L"--phase") {
        result = runPhase(argv[2], argv[3]);
    } else {
        measureLongList();
        measureAdding();
        measureBatchRuns();
    }
    DestroyWindow(mainWindow());
    imageList().clear();
    releaseImagingFactory();
    CoUninitialize();
    return result;
}
