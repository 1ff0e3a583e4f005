// The real window, created exactly as the program creates it.
#include "support/main_window_fixture.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <optional>
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
}  // namespace

void fillOpenDialogBuffer(wchar_t* buffer, size_t capacity, const std::vector<std::wstring>& paths)
{
    std::wstring result;
    if (paths.size() == 1) {
        result = paths.front() + L'\0';
    } else {
        result = paths.front().substr(0, paths.front().find_last_of(L"\\/")) + L'\0';
        for (const std::wstring& path : paths) result += path.substr(path.find_last_of(L"\\/") + 1) + L'\0';
    }
    result += L'\0';
    ASSERT_LE(result.size(), capacity);
    std::copy(result.begin(), result.end(), buffer);
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
        fillOpenDialogBuffer(dialog.lpstrFile, dialog.nMaxFile, openAnswers.front());
        openAnswers.erase(openAnswers.begin());
        return OpenDialogOutcome{true, 0};
    };
    prompts.pickFolder = [](HWND, const std::wstring&) { return std::optional<std::wstring>(); };
    prompts.openFolder = [this](HWND, const std::wstring& folder) { openedFolders.push_back(folder); };

    window_ = createMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(window_, nullptr);
    // 96, unless a parent test process runs the window tests again at another DPI.
    wchar_t dpi[8]{};
    EXPECT_EQ(GetDpiForWindow(window_), GetEnvironmentVariableW(L"LUMORA_TEST_DPI", dpi, 8) ? UINT(_wtoi(dpi)) : 96u);
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
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT) DispatchMessageW(&message);
    imageList().clear();
    userPrompts() = systemPrompts();
}

void MainWindowTest::setClientSize(int width, int height)
{
    // Grows or shrinks the frame by what the client area lacks, whatever the frame metrics.
    RECT frame{}, client{};
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &client);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                 frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

void MainWindowTest::selectCombo(ControlId id, int index)
{
    SendMessageW(control(id), CB_SETCURSEL, index, 0);
    command(id, CBN_SELCHANGE);
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
    openAnswers.push_back(paths);
    click(kAddImagesButton);
    EXPECT_TRUE(pumpUntil([] { return !isReadingImages(); }));
}

std::wstring MainWindowTest::cell(int row, int column) const
{
    wchar_t buffer[1024]{};
    ListView_GetItemText(control(kImageListView), row, column, buffer, 1024);
    return buffer;
}

std::vector<std::wstring> MainWindowTest::columnTexts(int column) const
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < rowCount(); ++row) texts.push_back(cell(row, column));
    return texts;
}
