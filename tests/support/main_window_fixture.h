// Creates the real main window in the test process, with scripted answers for
// every modal prompt, and helpers to read the window back through messages.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/dpi.h"

struct ShownMessage {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND window() const { return window_; }
    // A length of the 96 DPI design at the window's DPI.
    int px(int length) const { return scaleForDpi(length, GetDpiForWindow(window_)); }
    // Resizes the window so that its client area is exactly this size.
    void setClientSize(int width, int height);

    // Sends what the control would send its parent when the user acts on it.
    void command(ControlId id, WORD notification)
    {
        SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control(id)));
    }
    void click(ControlId id) { command(id, BN_CLICKED); }
    void selectCombo(ControlId id, int index);
    // The edit reports EN_CHANGE itself.
    void typeInto(ControlId id, const std::wstring& text) { SetWindowTextW(control(id), text.c_str()); }
    void moveTrackbar(ControlId id, int position);
    // Posts a key to the focused control as the keyboard would, with the given
    // keys held, and lets the program's own loop step handle it.
    void pressKey(WORD key, std::initializer_list<BYTE> held = {});
    // Picks the paths in the scripted open dialog and waits (bounded) until they are read.
    void addThroughDialog(const std::vector<std::wstring>& paths);

    std::wstring text(ControlId id) const { return readControlText(control(id)); }
    std::wstring cell(int row, int column) const;
    std::vector<std::wstring> columnTexts(int column) const;  // every row's
    int rowCount() const { return ListView_GetItemCount(control(kImageListView)); }
    bool enabled(ControlId id) const { return IsWindowEnabled(control(id)) != FALSE; }
    // Where the control sits in the main window's client area.
    RECT placement(ControlId id) const;

    std::vector<ShownMessage> messages;
    // The paths the scripted open dialog picks next; with none left it is cancelled.
    std::vector<std::vector<std::wstring>> openAnswers;
    std::vector<std::wstring> openedFolders;
    // Runs inside the next message box, while it would be on screen.
    std::function<void()> duringMessageBox;

private:
    HWND window_ = nullptr;
};

// Fills an open dialog's buffer as the dialog does: one full path, or the
// folder followed by the names, each zero-terminated, ended by an empty string.
void fillOpenDialogBuffer(wchar_t* buffer, size_t capacity, const std::vector<std::wstring>& paths);

// Pumps messages through the program's own loop step until the condition holds
// or the time is up; checks after each message.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = 10000);
