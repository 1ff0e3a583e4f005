// The target folder lives only as the text of its edit. All three operations
// stay silent on failure: a missing folder is reported by the batch run.
#include "settings/target_folder.h"

#include <shlobj.h>

#include <string>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "imagelist/image_entry.h"

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
    const std::wstring folder = readControlText(control(kTargetFolderEdit));
    if (!folder.empty()) userPrompts().openFolder(mainWindow(), folder);
}
