// Creates the real main window in the test process, with scripted answers for
// every modal prompt, and helpers to read the window back through messages.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
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

// What the scripted open dialog answers next: the chosen full paths, or a
// failure code (0 for a plain cancel).
struct OpenDialogAnswer {
    std::vector<std::wstring> paths;
    DWORD error = 0;
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
    void command(ControlId id, WORD notification);
    void click(ControlId id) { command(id, BN_CLICKED); }
    void selectCombo(ControlId id, int index);
    void typeInto(ControlId id, const std::wstring& text);  // the edit reports EN_CHANGE itself
    void moveTrackbar(ControlId id, int position);
    // Posts a key to the focused control as the keyboard would, with the given
    // keys held, and lets the program's own loop step handle it.
    void pressKey(WORD key, std::initializer_list<BYTE> held = {});
    // Picks the paths in the scripted open dialog and waits (bounded) until they are read.
    void addThroughDialog(const std::vector<std::wstring>& paths);

    std::wstring text(ControlId id) const;
    std::wstring cell(int row, int column) const;
    std::vector<std::wstring> columnTexts(int column) const;  // every row's
    int rowCount() const;
    bool enabled(ControlId id) const { return IsWindowEnabled(control(id)) != FALSE; }
    // Where the control sits in the main window's client area.
    RECT placement(ControlId id) const;

    std::vector<ShownMessage> messages;
    std::deque<OpenDialogAnswer> openAnswers;
    std::optional<std::wstring> folderAnswer;
    std::vector<std::wstring> openedFolders;
    // Runs inside the next message box, while it would be on screen.
    std::function<void()> duringMessageBox;

private:
    HWND window_ = nullptr;
};

// Fills an open dialog's buffer as the dialog does: one full path, or the
// folder followed by the names, each zero-terminated, ended by an empty string.
void fillOpenDialogBuffer(wchar_t* buffer, size_t capacity, const std::vector<std::wstring>& paths);

// The DPI the window tests expect: 96, or what a parent test process asks for
// in this environment variable when it runs them again at another DPI.
inline constexpr wchar_t kTestDpiVariable[] = L"LUMORA_TEST_DPI";
UINT expectedDpi();

// Pumps messages through the program's own loop step until the condition holds
// or the time is up; checks after each message.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = 10000);
