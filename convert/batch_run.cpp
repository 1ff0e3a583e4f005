// Runs on the window's own thread and keeps the window alive by draining the
// queue between images; the busy flag keeps that re-entry from starting
// anything. A failed image never stops the run and leaves no file behind.
#include "convert/batch_run.h"

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "convert/encoder_lookup.h"
#include "convert/error_text.h"
#include "convert/exclusive_file_stream.h"
#include "convert/output_naming.h"
#include "convert/panel_transcode.h"
#include "convert/run_summary.h"
#include "imagelist/image_list.h"
#include "settings/settings_panel.h"
#include "settings/settings_reader.h"

namespace {
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
}  // namespace

void pumpPendingMessages()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

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
    const std::uint64_t count = imageList().size();
    HWND progress = control(kProgressBar);
    SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    const int quality = static_cast<int>(SendMessageW(control(kQualityTrackbar), TBM_GETPOS, 0, 0));

    std::uint64_t succeeded = 0;
    std::vector<std::wstring> failureLines;
    // Names the status query called free but creation found taken (a dangling link, a racing writer).
    std::set<std::wstring> takenAtCreation;
    const auto claimOf = [&](const std::wstring& path) {
        return takenAtCreation.count(path) ? NameClaim::Taken : NameClaim::None;
    };
    for (size_t i = 0; i < imageList().size(); ++i) {
        const ImageEntry& entry = imageList()[i];
        const std::wstring name = fileNameOf(entry.path);
        showStatus(progressStatusText(i + 1, count, name));
        pumpPendingMessages();

        HRESULT result = S_OK;
        for (;;) {
            const OutputName output = uniqueOutputPath(targetFolder, entry.path, extension, claimOf);
            result = transcodeImage(entry, output.path, containerFormat, extension, quality);
            if (!isNameTaken(result) || output.last) break;
            takenAtCreation.insert(output.path);
        }
        if (FAILED(result)) {
            failureLines.push_back(failureLine(name, errorTextFor(result)));
        } else {
            ++succeeded;
        }
        SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(i + 1), 0);
        pumpPendingMessages();
    }

    setPanelBusy(false);
    showStatus(finalStatusText(succeeded, count));
    showMessage(summaryText(succeeded, count, failureLines),
                failureLines.empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
}
