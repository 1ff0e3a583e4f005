// The program itself, started as a separate process: it shows its window, adds
// what its command line names, and exits with 0 when closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/controls.h"
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
}  // namespace

TEST(Startup, ProgramShowsItsWindowAddsItsCommandLineAndExitsWithZeroWhenClosed)
{
    // A file with blanks, a folder with images at two depths and a file not named
    // like one, and a path beyond MAX_PATH.
    TempFolder files;
    const std::wstring tree = files.file(L"Ordner \u00fc");
    const std::wstring deep = files.file(std::wstring(150, L'l') + L"\\" + std::wstring(150, L'm') + L"\\lang.png");
    for (const std::wstring& path : {files.file(L"mit Leerzeichen.png"), tree + L"\\a.png", tree + L"\\U\\b.png",
                                     tree + L"\\notiz.txt", deep})
        writeSmallPng(path);
    std::wstring commandLine = L"\"" + lumoraExecutable() + L"\" \"" + files.file(L"mit Leerzeichen.png") + L"\" \"" +
                               tree + L"\" \"" + deep + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    Process lumora;
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &lumora.info))
        << GetLastError();

    HWND window = nullptr;
    for (int waited = 0; !window && waited < 30000; waited += 50) {
        // Waiting on the process also notices a program that died during start-up.
        if (WaitForSingleObject(lumora.info.hProcess, 50) == WAIT_OBJECT_0) break;
        HWND found = FindWindowW(L"Lumora.MainWindow", nullptr);
        if (found && IsWindowVisible(found)) window = found;
    }
    ASSERT_NE(window, nullptr) << "no visible main window";
    HWND summary = GetDlgItem(window, kSummaryText);
    for (int waited = 0; !windowText(summary).starts_with(L"4 Bilder  \u2022") && waited < 30000; waited += 50)
        if (WaitForSingleObject(lumora.info.hProcess, 50) == WAIT_OBJECT_0) break;
    EXPECT_TRUE(windowText(summary).starts_with(L"4 Bilder  \u2022")) << windowText(summary);

    EXPECT_TRUE(IsWindowEnabled(window)) << "a message box is open";  // nothing was unreadable
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(lumora.info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(lumora.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}
