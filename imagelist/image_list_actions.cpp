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

namespace {
constexpr DWORD kResultCapacity = 65536;
// Label and patterns pairs, each ended by a zero; one more zero ends the list.
constexpr wchar_t kFilters[] =
    L"Bilddateien\0*.jpg;*.jpeg;*.jfif;*.png;*.webp;*.gif;*.tif;*.tiff;*.bmp;*.heic;*.heif;*.avif\0"
    L"Alle Dateien\0*.*\0";
}  // namespace

void addImages()
{
    std::vector<wchar_t> buffer(kResultCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = mainWindow();
    dialog.lpstrFilter = kFilters;
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

    unsigned unreadable = 0;
    for (const std::wstring& candidate : splitOpenDialogResult(buffer.data(), buffer.size())) {
        if (imageList().contains(candidate)) continue;
        ImageEntry entry;
        if (probeImage(candidate, entry))
            imageList().append(std::move(entry));
        else
            ++unreadable;
    }
    rebuildImageListView();
    if (unreadable > 0)
        showMessage(std::to_wstring(unreadable) + L" Datei(en) konnten von Windows nicht als Bild gelesen werden.",
                    MB_ICONWARNING);
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
