// The real window, created exactly as the program creates it.
#include "support/main_window_fixture.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "app/drawing_objects.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/user_prompts.h"
#include "imagelist/image_list.h"
#include "imagelist/image_reading.h"
#include "settings/settings_panel.h"

namespace {
void prepareProcessOnce()
{
    static const bool prepared = [] {
        INITCOMMONCONTROLSEX commonControls{sizeof(commonControls), 0xFF};
        InitCommonControlsEx(&commonControls);
        createDrawingObjects();
        return registerMainWindowClass(GetModuleHandleW(nullptr)) != 0;
    }();
    ASSERT_TRUE(prepared);
}

std::wstring folderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/"));
}
}  // namespace

void fillOpenDialogBuffer(wchar_t* buffer, size_t capacity, const std::vector<std::wstring>& paths)
{
    std::wstring result;
    if (paths.size() == 1) {
        result = paths.front() + L'\0';
    } else {
        result = folderOf(paths.front()) + L'\0';
        for (const std::wstring& path : paths) result += path.substr(path.find_last_of(L"\\/") + 1) + L'\0';
    }
    result += L'\0';
    ASSERT_LE(result.size(), capacity);
    std::copy(result.begin(), result.end(), buffer);
}

UINT expectedDpi()
{
    wchar_t value[8]{};
    return GetEnvironmentVariableW(kTestDpiVariable, value, 8) ? static_cast<UINT>(_wtoi(value)) : 96;
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMilliseconds;
    for (;;) {
        MSG message{};
        // Checked after every message, so a condition on a passing state sees it.
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            dispatchLoopMessage(message);
            if (condition()) return true;
        }
        if (condition()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

void MainWindowTest::SetUp()
{
    prepareProcessOnce();
    imageList().clear();
    UserPrompts& prompts = userPrompts();
    prompts.messageBox = [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
        messages.push_back({owner, text, caption, type});
        if (duringMessageBox) std::exchange(duringMessageBox, nullptr)();
        return IDOK;
    };
    prompts.openFileDialog = [this](OPENFILENAMEW& dialog) {
        if (openAnswers.empty()) return OpenDialogOutcome{false, 0};
        const OpenDialogAnswer answer = openAnswers.front();
        openAnswers.pop_front();
        if (answer.paths.empty()) return OpenDialogOutcome{false, answer.error};
        fillOpenDialogBuffer(dialog.lpstrFile, dialog.nMaxFile, answer.paths);
        return OpenDialogOutcome{true, 0};
    };
    prompts.pickFolder = [this](HWND, const std::wstring&) { return folderAnswer; };
    prompts.openFolder = [this](HWND, const std::wstring& folder) { openedFolders.push_back(folder); };

    window_ = createMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(GetDpiForWindow(window_), expectedDpi());
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
}

void MainWindowTest::TearDown()
{
    if (isPanelBusy()) setPanelBusy(false);
    if (IsWindow(window_)) DestroyWindow(window_);
    setMainWindow(nullptr);
    // The window posts the quit message when destroyed; it must not reach the next test.
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) DispatchMessageW(&message);
    }
    imageList().clear();
    userPrompts() = systemPrompts();
}

void MainWindowTest::setClientSize(int width, int height)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right != width || client.bottom != height) {
        // The frame metrics may differ from what AdjustWindowRectEx assumes; correct once.
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void MainWindowTest::command(ControlId id, WORD notification)
{
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control(id)));
}

void MainWindowTest::selectCombo(ControlId id, int index)
{
    SendMessageW(control(id), CB_SETCURSEL, index, 0);
    command(id, CBN_SELCHANGE);
}

void MainWindowTest::typeInto(ControlId id, const std::wstring& text)
{
    SetWindowTextW(control(id), text.c_str());
}

void MainWindowTest::moveTrackbar(ControlId id, int position)
{
    SendMessageW(control(id), TBM_SETPOS, TRUE, position);
    SendMessageW(window_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(control(id)));
}

void MainWindowTest::pressKey(WORD key, std::initializer_list<BYTE> held)
{
    BYTE keys[256]{};
    for (const BYTE down : held) keys[down] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    pumpUntil([] { return false; }, 0);  // drains the queue
    for (const BYTE down : held) keys[down] = 0;
    SetKeyboardState(keys);
}

RECT MainWindowTest::placement(ControlId id) const
{
    RECT rect{};
    GetWindowRect(control(id), &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MainWindowTest::addThroughDialog(const std::vector<std::wstring>& paths)
{
    openAnswers.push_back({paths});
    click(kAddImagesButton);
    EXPECT_TRUE(pumpUntil([] { return !isReadingImages(); }));
}

std::wstring MainWindowTest::text(ControlId id) const
{
    return readControlText(control(id));
}

std::wstring MainWindowTest::cell(int row, int column) const
{
    wchar_t buffer[1024]{};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(control(kImageListView), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<std::wstring> MainWindowTest::columnTexts(int column) const
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < rowCount(); ++row) texts.push_back(cell(row, column));
    return texts;
}

int MainWindowTest::rowCount() const
{
    return static_cast<int>(SendMessageW(control(kImageListView), LVM_GETITEMCOUNT, 0, 0));
}
