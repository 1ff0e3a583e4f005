// The one seam for everything modal or outside the window: message boxes, the
// open dialog, the folder picker and the shell's file manager. The program
// uses the Win32 implementations; tests replace them with scripted answers.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

struct OpenDialogOutcome {
    bool confirmed;
    DWORD error;  // CommDlgExtendedError when not confirmed; 0 for a plain cancel
};

struct UserPrompts {
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)> messageBox;
    std::function<OpenDialogOutcome(OPENFILENAMEW& dialog)> openFileDialog;
    // The chosen folder, or nothing when cancelled or failed.
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& startFolder)> pickFolder;
    std::function<void(HWND owner, const std::wstring& folder)> openFolder;
};

UserPrompts& userPrompts();
// The Win32 implementations, for restoring after a test replaced some.
UserPrompts systemPrompts();

// A box owned by the main window with the caption "Lumora" and an OK button.
void showMessage(const std::wstring& text, UINT icon);
