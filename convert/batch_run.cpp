// The window's side of a run: the checks and messages, the locked panel, the
// status line and progress bar, the cancel question and the summary box. The
// run itself is a ConversionRun; its workers' reports arrive as posted messages.
#include "convert/batch_run.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "convert/conversion_run.h"
#include "convert/run_summary.h"
#include "imagelist/image_list.h"
#include "settings/settings_panel.h"
#include "settings/settings_reader.h"

namespace {
void showStatus(const std::wstring& text)
{
    HWND status = control(kStatusText);
    SetWindowTextW(status, text.c_str());
    UpdateWindow(status);
}

class WindowRunObserver final : public RunObserver {
public:
    void imageHandedOut(const std::wstring& progressText) override { showStatus(progressText); }
    void imageFinished(const ImageOutcome& outcome) override
    {
        SendMessageW(control(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(outcome.finished), 0);
    }
};

struct BatchRun {
    WindowRunObserver observer;
    std::unique_ptr<ConversionRun> run;
    bool closeWhenEnded = false;
    bool asking = false;
};

std::unique_ptr<BatchRun> gRun;
unsigned gWorkerCount = 0;

void endRun()
{
    const std::unique_ptr<BatchRun> batch = std::move(gRun);
    const std::wstring summary = batch->run->summary(kListedFailures);
    const std::wstring status = batch->run->finalStatus();
    const bool failed = batch->run->anyFailed();
    // Every worker is idle by now, so this joins them at once.
    batch->run.reset();

    ShutdownBlockReasonDestroy(mainWindow());
    setPanelBusy(false);
    SetWindowTextW(control(kStartButton), L"Konvertierung starten");
    showStatus(status);
    showMessage(summary, failed ? MB_ICONWARNING : MB_ICONINFORMATION);
    if (batch->closeWhenEnded) DestroyWindow(mainWindow());
}

// Ends the run once nothing converts any more, unless the question is still open.
void endRunIfIdle()
{
    if (gRun && !gRun->asking && gRun->run->over()) endRun();
}

void askToCancel(bool closing)
{
    // Once cancelled there is nothing left to ask; closing just waits for the end.
    if (gRun->run->cancelled()) gRun->closeWhenEnded = gRun->closeWhenEnded || closing;
    if (gRun->asking || gRun->run->cancelled()) return;
    gRun->asking = true;
    const int answer = userPrompts().messageBox(mainWindow(), L"Soll die Konvertierung abgebrochen werden?",
                                                L"Lumora", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    // Images kept converting while the box was open; the window may even be gone.
    if (!gRun) return;
    gRun->asking = false;
    if (answer == IDYES) {
        gRun->run->cancel();
        gRun->closeWhenEnded = closing;
    }
    endRunIfIdle();
}
}  // namespace

void runBatchConversion()
{
    if (imageList().empty()) {
        showMessage(noImagesText(), MB_ICONINFORMATION);
        return;
    }
    RunPlan plan;
    plan.targetFolder = readControlText(control(kTargetFolderEdit));
    if (plan.targetFolder.empty()) {
        showMessage(L"Bitte w\u00e4hle ein Zielverzeichnis aus.", MB_ICONINFORMATION);
        return;
    }
    plan.extension = selectedOutputFormat().extension;
    switch (checkRunStart(plan.targetFolder, plan.extension, plan.containerFormat)) {
    case StartProblem::FolderUnusable: showMessage(folderUnusableText(), MB_ICONERROR); return;
    case StartProblem::NoEncoder: showMessage(noEncoderText(plan.extension), MB_ICONWARNING); return;
    case StartProblem::None: break;
    }

    setPanelBusy(true);
    SetWindowTextW(control(kStartButton), L"Abbrechen");
    plan.entries.assign(imageList().begin(), imageList().end());
    HWND progress = control(kProgressBar);
    SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(plan.entries.size()));
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    // The panel is locked, so every image sees these settings.
    plan.settings = readConversionSettings();
    plan.workerCount = gWorkerCount;
    gRun = std::make_unique<BatchRun>();
    gRun->run = std::make_unique<ConversionRun>(std::move(plan), gRun->observer,
                                                [window = mainWindow()](std::size_t index, HRESULT result) {
                                                    PostMessageW(window, kImageDoneMessage, index,
                                                                 static_cast<LPARAM>(result));
                                                });
    gRun->run->start();
}

void onImageDone(WPARAM index, LPARAM result)
{
    if (!gRun) return;
    gRun->run->imageDone(index, static_cast<HRESULT>(result));
    endRunIfIdle();
}

void onCommandDuringRun(int id, int notification)
{
    if (!gRun) return;
    if (id == kStartButton && notification == BN_CLICKED) {
        gRun->run->cancel();
        endRunIfIdle();
    } else if (id == IDCANCEL) {
        askToCancel(false);
    }
}

void onCloseDuringRun()
{
    if (gRun) askToCancel(true);
}

bool onQueryEndSessionDuringRun()
{
    if (!gRun) return true;
    ShutdownBlockReasonCreate(mainWindow(), L"Konvertierung l\u00e4uft");
    gRun->run->cancel();
    endRunIfIdle();
    return false;
}

void onSessionEnding()
{
    // Windows ends the process once this returns; an image cut short leaves no file.
    if (gRun) gRun->run->waitForWorkers(std::chrono::seconds(4));
}

void abandonBatchRun()
{
    gRun.reset();
}

void setBatchWorkerCount(unsigned count)
{
    gWorkerCount = count;
}
