// Changes the image list and rebuilds the view after every change, so rows and
// entries always agree index for index.
#include "imagelist/image_list_actions.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <cderr.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "imagelist/image_entry.h"
#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "imagelist/image_reading.h"
#include "imagelist/path_expansion.h"

namespace {
using namespace std::string_literals;

constexpr DWORD kResultCapacity = 65536;
// Label and patterns pairs, each ended by a zero; the string's own terminator ends the list.
const std::wstring kFilters = L"Bilddateien\0"s + kImageFilePatterns + L"\0Alle Dateien\0*.*\0"s;
}  // namespace

void addImages()
{
    std::vector<wchar_t> buffer(kResultCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = mainWindow();
    dialog.lpstrFilter = kFilters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kResultCapacity;
    dialog.lpstrTitle = L"Bilder ausw\u00e4hlen";
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

    const OpenDialogOutcome outcome = userPrompts().openFileDialog(dialog);
    if (!outcome.confirmed) {
        // Without this the user's whole selection would vanish without a word.
        if (outcome.error == FNERR_BUFFERTOOSMALL)
            showMessage(L"Die Auswahl ist zu gro\u00df. Bitte w\u00e4hle weniger Dateien auf einmal aus.",
                        MB_ICONWARNING);
        return;
    }

    addPaths(splitOpenDialogResult(buffer.data(), buffer.size()));
}

void addPaths(const std::vector<std::wstring>& paths)
{
    readImagesIntoList(paths);
}

void removeSelectedImages()
{
    HWND list = control(kImageListView);
    std::vector<size_t> selected;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED));
        if (row < 0) break;
        selected.push_back(static_cast<size_t>(row));
    }
    imageList().erase(selected);
    rebuildImageListView();
}

void clearImages()
{
    imageList().clear();
    rebuildImageListView();
}
