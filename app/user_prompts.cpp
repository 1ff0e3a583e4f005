// Win32 implementations of the modal prompts.
#include "app/user_prompts.h"

#include <shellapi.h>
#include <shobjidl.h>

#include <memory>

#include "app/controls.h"
#include "convert/imaging.h"

namespace {
struct CoTaskMemDeleter {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

std::optional<std::wstring> pickFolderWithShellDialog(HWND owner, const std::wstring& startFolder)
{
    ComPtr<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
        return std::nullopt;

    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog->GetOptions(&options))) options = 0;
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog->SetTitle(L"Zielverzeichnis ausw\u00e4hlen");

    ComPtr<IShellItem> start;
    if (!startFolder.empty() &&
        SUCCEEDED(SHCreateItemFromParsingName(startFolder.c_str(), nullptr, IID_PPV_ARGS(&start))))
        dialog->SetFolder(start.Get());

    if (FAILED(dialog->Show(owner))) return std::nullopt;
    ComPtr<IShellItem> result;
    if (FAILED(dialog->GetResult(&result))) return std::nullopt;
    wchar_t* rawPath = nullptr;
    if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &rawPath))) return std::nullopt;
    const std::unique_ptr<wchar_t, CoTaskMemDeleter> path(rawPath);
    return std::wstring(path.get());
}
}  // namespace

UserPrompts systemPrompts()
{
    return {
        [](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
        },
        [](OPENFILENAMEW& dialog) {
            const bool confirmed = GetOpenFileNameW(&dialog) != FALSE;
            return OpenDialogOutcome{confirmed, confirmed ? 0 : CommDlgExtendedError()};
        },
        pickFolderWithShellDialog,
        [](HWND owner, const std::wstring& folder) {
            ShellExecuteW(owner, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        },
    };
}

UserPrompts& userPrompts()
{
    static UserPrompts prompts = systemPrompts();
    return prompts;
}

void showMessage(const std::wstring& text, UINT icon)
{
    userPrompts().messageBox(mainWindow(), text, L"Lumora", MB_OK | icon);
}
