// The program itself, started as a separate process: it shows its window,
// answers a program from outside, adds what its command line names, and exits
// with 0 when closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "app/controls.h"
#include "app/layout.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
std::wstring lumoraExecutable()
{
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.erase(path.find_last_of(L"\\/"));  // tests\test_app.exe
    path.erase(path.find_last_of(L"\\/"));  // tests
    return path + L"\\lumora.exe";
}

std::wstring windowText(HWND hwnd)
{
    wchar_t buffer[512]{};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

struct Process {
    PROCESS_INFORMATION info{};
    ~Process()
    {
        if (info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
        if (info.hProcess) CloseHandle(info.hProcess);
        if (info.hThread) CloseHandle(info.hThread);
    }
};

// Polls for at most 30 s; waiting on the process also notices a program that died.
bool waitWhileRunning(const Process& lumora, const std::function<bool()>& condition)
{
    for (int waited = 0; waited < 30000; waited += 50) {
        if (condition()) return true;
        if (WaitForSingleObject(lumora.info.hProcess, 50) == WAIT_OBJECT_0) return false;
    }
    return false;
}

// Starts the program with the arguments and returns its main window once it is visible.
HWND startLumora(const std::wstring& arguments, Process& lumora)
{
    std::wstring commandLine = L"\"" + lumoraExecutable() + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &lumora.info))
        return nullptr;
    HWND window = nullptr;
    waitWhileRunning(lumora, [&] {
        window = FindWindowW(L"Lumora.MainWindow", nullptr);
        return window && IsWindowVisible(window);
    });
    return window && IsWindowVisible(window) ? window : nullptr;
}

void closeAndExpectExitCodeZero(HWND window, const Process& lumora)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(lumora.info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(lumora.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}
}  // namespace

TEST(Startup, ProgramShowsItsWindowAndExitsWithZeroWhenClosed)
{
    Process lumora;
    HWND window = startLumora(L"", lumora);
    ASSERT_NE(window, nullptr) << "no visible main window";

    EXPECT_EQ(windowText(window), L"Lumora v1.2.0 \u2013 Bildkonverter");
    EXPECT_EQ(windowText(GetDlgItem(window, kStartButton)), L"Konvertierung starten");
    EXPECT_EQ(windowText(GetDlgItem(window, kStatusText)), L"Bereit.");
    EXPECT_EQ(windowText(GetDlgItem(window, kQualityLabel)), L"85 %");
    const std::wstring folder = windowText(GetDlgItem(window, kTargetFolderEdit));
    EXPECT_GE(folder.size(), 7u);
    EXPECT_EQ(folder.substr(folder.size() - 7), L"\\Lumora");

    RECT client{};
    GetClientRect(window, &client);
    for (const ControlPlacement& expected : controlPlacements(client.right, client.bottom)) {
        if (expected.id == kFormatCombo || expected.id == kScaleCombo) continue;  // closed height is the platform's
        RECT actual{};
        GetWindowRect(GetDlgItem(window, expected.id), &actual);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << expected.id;
        EXPECT_EQ(actual.top, expected.top) << expected.id;
        EXPECT_EQ(actual.right - actual.left, expected.width) << expected.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.height) << expected.id;
    }

    closeAndExpectExitCodeZero(window, lumora);
}

TEST(Startup, FilesAndFoldersOnTheCommandLineAreAdded)
{
    TempFolder folder;
    const std::wstring blanks = writeSmallPng(folder.file(L"mit Leerzeichen.png"));
    const std::wstring tree = folder.file(L"Ordner \u00fc");
    writeSmallPng(tree + L"\\a.png");
    writeSmallPng(tree + L"\\Unter\\b.png");
    writeFileBytes(tree + L"\\notiz.txt", "kein Bild");
    const std::wstring beyondMaxPath =
        writeSmallPng(folder.file(std::wstring(150, L'l') + L"\\" + std::wstring(150, L'm') + L"\\lang.png"));

    Process lumora;
    HWND window = startLumora(L" \"" + blanks + L"\" \"" + tree + L"\" \"" + beyondMaxPath + L"\"", lumora);
    ASSERT_NE(window, nullptr) << "no visible main window";
    HWND summary = GetDlgItem(window, kSummaryText);
    EXPECT_TRUE(waitWhileRunning(lumora, [&] { return windowText(summary).starts_with(L"4 Bilder  \u2022"); }))
        << windowText(summary);
    closeAndExpectExitCodeZero(window, lumora);
}
