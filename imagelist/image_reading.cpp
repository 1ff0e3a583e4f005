// The window's side of a FileReading: the lock, the status line and progress
// bar while files are read, the list and the one warning at the end. Workers
// wake the window by posting; a message of an ended reading is ignored.
#include "imagelist/image_reading.h"

#include <commctrl.h>

#include <memory>
#include <utility>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "imagelist/file_reading.h"
#include "imagelist/image_entry.h"
#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "settings/settings_panel.h"

namespace {
class WindowReadingObserver final : public ReadingObserver {
public:
    void filesFound(std::size_t count) override
    {
        SendMessageW(control(kProgressBar), PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
    }
    // i counts from 1; the name is that of the first file not yet read, which a worker has in hand.
    void filesRead(std::size_t finished, std::size_t count, const std::wstring& nextPath) override
    {
        const std::wstring text = L"Lese " + std::to_wstring(finished + 1) + L" von " + std::to_wstring(count) +
                                  L": " + fileNameOf(nextPath);
        SendMessageW(control(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(finished), 0);
        SetWindowTextW(control(kStatusText), text.c_str());
    }
};

// The window's side of one reading.
struct Reading {
    WPARAM id = 0;
    WindowReadingObserver observer;
    std::unique_ptr<FileReading> files;
    std::wstring statusBefore;
    PBRANGE rangeBefore{};
    LRESULT positionBefore = 0;
};

std::unique_ptr<Reading> gReading;
WPARAM gLastReadingId = 0;

void finishReading()
{
    const std::unique_ptr<Reading> reading = std::move(gReading);
    for (ImageEntry& entry : reading->files->takeEntries()) imageList().append(std::move(entry));
    const unsigned unreadable = reading->files->unreadable();
    SetWindowTextW(control(kStatusText), reading->statusBefore.c_str());
    HWND progress = control(kProgressBar);
    SendMessageW(progress, PBM_SETRANGE32, reading->rangeBefore.iLow, reading->rangeBefore.iHigh);
    SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(reading->positionBefore), 0);
    setPanelLocked(false);
    rebuildImageListView();
    if (unreadable > 0)
        showMessage(unreadableFilesText(unreadable), MB_ICONWARNING);
}
}  // namespace

void readImagesIntoList(std::vector<std::wstring> paths)
{
    HWND progress = control(kProgressBar);
    gReading = std::make_unique<Reading>();
    Reading& reading = *gReading;
    reading.id = ++gLastReadingId;
    reading.statusBefore = readControlText(control(kStatusText));
    SendMessageW(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&reading.rangeBefore));
    reading.positionBefore = SendMessageW(progress, PBM_GETPOS, 0, 0);
    setPanelLocked(true);
    reading.files = std::make_unique<FileReading>(
        std::move(paths), [](const std::wstring& path) { return imageList().contains(path); },
        [window = mainWindow(), id = reading.id] { PostMessageW(window, kImagesReadMessage, id, 0); },
        reading.observer);
}

bool isReadingImages()
{
    return gReading != nullptr;
}

void onImagesRead(WPARAM reading)
{
    if (!gReading || gReading->id != reading) return;
    if (gReading->files->update()) finishReading();
}

void stopReadingImages()
{
    gReading.reset();
}
