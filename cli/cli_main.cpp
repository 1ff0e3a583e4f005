// lumora-cli: converts images from a script with the window's engine and
// texts, or prints their forecast. Exit codes: 0 all converted, 1 an image
// failed or a file was unreadable, 2 a usage error, 3 nothing could start, 4 cancelled.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/shell_paths.h"
#include "cli/cli_options.h"
#include "cli/console_writer.h"
#include "cli/task_queue.h"
#include "convert/conversion_run.h"
#include "convert/imaging.h"
#include "convert/run_summary.h"
#include "forecast/forecast_texts.h"
#include "imagelist/file_reading.h"
#include "settings/output_formats.h"

namespace {
enum ExitCode : int { kConverted = 0, kFailed = 1, kUsageError = 2, kCouldNotStart = 3, kCancelled = 4 };

const ConsoleWriter gOut(STD_OUTPUT_HANDLE);
const ConsoleWriter gErr(STD_ERROR_HANDLE);

// The main thread owns these; other threads reach them only through tasks.
TaskQueue gTasks;
bool gCancelled = false;
ConversionRun* gRun = nullptr;
// Set once the summary is out, for a console that is closing.
HANDLE gEnded = nullptr;

// Ctrl+C, Ctrl+Break and closing the console cancel like "Abbrechen".
BOOL WINAPI onConsoleControl(DWORD event)
{
    gTasks.post([] {
        gCancelled = true;
        if (gRun) gRun->cancel();
    });
    // Windows ends the process once this returns from a closing console.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) WaitForSingleObject(gEnded, 4000);
    return TRUE;
}

class SilentReading final : public ReadingObserver {
public:
    void filesFound(std::size_t) override {}
    void filesRead(std::size_t, std::size_t, const std::wstring&) override {}
};

class ConsoleRunObserver final : public RunObserver {
public:
    explicit ConsoleRunObserver(const std::vector<ImageEntry>& entries) : entries_(entries) {}
    void imageHandedOut(const std::wstring& progressText) override { gErr.writeLine(progressText); }
    void imageFinished(const ImageOutcome& outcome) override
    {
        if (FAILED(outcome.result))
            gOut.writeLine(outcome.failureLine);
        else
            gOut.writeLine(fileNameOf(entries_[outcome.index].path) + L" \u2192 " + outcome.outputPath);
    }

private:
    const std::vector<ImageEntry>& entries_;
};

// False when cancelled before all was read.
bool readFiles(const std::vector<std::wstring>& paths, std::vector<ImageEntry>& entries, unsigned& unreadable)
{
    SilentReading observer;
    bool done = false;
    // A worker may wake the reading once more after its end; that task finds nothing to do.
    static std::function<void()> onNews;
    FileReading reading(
        paths, [](const std::wstring&) { return false; },
        [] { gTasks.post([] { if (onNews) onNews(); }); }, observer);
    onNews = [&] { done = reading.update(); };
    while (!done && !gCancelled) gTasks.runNext();
    onNews = nullptr;
    if (!done) return false;
    entries = reading.takeEntries();
    unreadable = reading.unreadable();
    return true;
}

void printForecast(const std::vector<ImageEntry>& entries, const ConversionSettings& settings)
{
    ForecastTotals totals;
    for (const ImageEntry& entry : entries) {
        std::wstring row;
        for (int column = 0; column < kListColumnCount; ++column)
            row += (column ? L"\t" : L"") + listCellText(entry, column, settings);
        gOut.writeLine(row);
        addToTotals(totals, entry, settings);
    }
    gOut.writeLine(forecastLineText(totals));
    gOut.writeLine(listSummaryText(totals));
}

int convert(const CliOptions& options, const std::vector<ImageEntry>& entries)
{
    if (entries.empty()) {
        gErr.writeLine(noImagesText());
        return kCouldNotStart;
    }
    RunPlan plan{entries, fullPathOf(options.targetFolder), outputFormatAt(options.settings.formatIndex).extension,
                 {}, options.settings, options.workers};
    switch (checkRunStart(plan.targetFolder, plan.extension, plan.containerFormat)) {
    case StartProblem::FolderUnusable: gErr.writeLine(folderUnusableText()); return kCouldNotStart;
    case StartProblem::NoEncoder: gErr.writeLine(noEncoderText(plan.extension)); return kCouldNotStart;
    case StartProblem::None: break;
    }
    ConsoleRunObserver observer(entries);
    ConversionRun run(std::move(plan), observer, [](std::size_t index, HRESULT result) {
        gTasks.post([index, result] { gRun->imageDone(index, result); });
    });
    gRun = &run;
    if (gCancelled) run.cancel();
    run.start();
    while (!run.over()) gTasks.runNext();
    gRun = nullptr;
    gOut.writeLine(run.summary(SIZE_MAX));
    if (run.cancelled()) return kCancelled;
    return run.anyFailed() ? kFailed : kConverted;
}

int runWithImaging(const CliOptions& options)
{
    std::vector<std::wstring> paths;
    for (const std::wstring& path : options.paths) paths.push_back(fullPathOf(path));
    std::vector<ImageEntry> entries;
    unsigned unreadable = 0;
    if (!readFiles(paths, entries, unreadable)) return kCancelled;
    int code = kConverted;
    if (options.forecastOnly)
        printForecast(entries, options.settings);
    else
        code = convert(options, entries);
    if (unreadable > 0) gOut.writeLine(unreadableFilesText(unreadable));
    if (code == kCancelled || unreadable == 0) return code;
    return code == kCouldNotStart && !entries.empty() ? code : kFailed;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const ParsedArguments parsed = parseArguments(std::vector<std::wstring>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        gErr.write(parsed.error + L"\n\n" + usageText());
        return kUsageError;
    }
    if (parsed.options.help) {
        gOut.write(usageText());
        return kConverted;
    }
    gEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // A process group of its own starts with Ctrl+C ignored; the handler wants it.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    int code = kCouldNotStart;
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
        gErr.writeLine(L"Die Windows-Bildkomponenten konnten nicht initialisiert werden.");
    } else if (FAILED(createImagingFactory())) {
        gErr.writeLine(L"Windows Imaging Component (WIC) ist nicht verf\u00fcgbar.");
        CoUninitialize();
    } else {
        code = runWithImaging(parsed.options);
        releaseImagingFactory();
        CoUninitialize();
    }
    SetEvent(gEnded);
    return code;
}
