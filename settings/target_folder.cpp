// The target folder lives only as the text of its edit. All three operations
// stay silent on failure: a missing folder is reported by the batch run.
#include "settings/target_folder.h"

#include <shlobj.h>

#include <string>

#include "app/controls.h"
#include "app/gdi.h"
#include "app/user_prompts.h"
#include "imagelist/image_entry.h"

namespace {
using FileHandle = OwnedHandle<HANDLE, CloseHandle>;

// Opening the path follows links and junctions to what they name, so a link to
// a folder counts and a dangling one does not.
bool namesExistingDirectory(const std::wstring& path)
{
    const HANDLE opened = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    const FileHandle file(opened);
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file.get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

void defaultTargetFolder()
{
    wchar_t pictures[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                pictures)))
        return;
    SetWindowTextW(control(kTargetFolderEdit), pathAppend(pictures, L"Lumora").c_str());
}

void pickTargetFolder()
{
    HWND edit = control(kTargetFolderEdit);
    if (const auto chosen = userPrompts().pickFolder(mainWindow(), readControlText(edit)))
        SetWindowTextW(edit, chosen->c_str());
}

void openTargetFolder()
{
    // The shell runs a program and opens a document as readily as a folder, so
    // only a folder that exists gets that far.
    const std::wstring folder = readControlText(control(kTargetFolderEdit));
    if (namesExistingDirectory(folder)) userPrompts().openFolder(mainWindow(), folder);
}
