// The program itself, started as a separate process: it shows its window, adds
// what its command line names, and exits with 0 when closed.
#include <gtest/gtest.h>

#include <functional>

#include "app/controls.h"
#include "support/wic_files.h"

namespace {
// Polls until the condition holds, for at most 30 s; waiting on the process also
// notices a program that died on the way.
bool waitUntil(HANDLE process, const std::function<bool()>& condition)
{
    for (int waited = 0; waited < 30000; waited += 50)
        if (condition() || WaitForSingleObject(process, 50) == WAIT_OBJECT_0) break;
    return condition();
}
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
    // The program sits one folder above the test executable.
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program(self);
    program.replace(program.rfind(L"tests"), std::wstring::npos, L"lumora.exe");
    std::wstring commandLine = L"\"" + program + L"\" \"" + files.file(L"mit Leerzeichen.png") + L"\" \"" +
                               tree + L"\" \"" + deep + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION lumora{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &lumora))
        << GetLastError();
    CloseHandle(lumora.hThread);
    HWND window = nullptr;
    EXPECT_TRUE(waitUntil(lumora.hProcess, [&] {
        // Another process's window answers from the text the system keeps for it.
        wchar_t summary[64]{};
        window = FindWindowW(L"Lumora.MainWindow", nullptr);
        return window && IsWindowVisible(window) && GetWindowTextW(GetDlgItem(window, kSummaryText), summary, 64) &&
               std::wstring_view(summary).starts_with(L"4 Bilder  \u2022");
    })) << "no visible main window with the four images";
    EXPECT_TRUE(window && IsWindowEnabled(window)) << "a message box is open";  // nothing was unreadable
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    if (WaitForSingleObject(lumora.hProcess, window ? 20000 : 0) != WAIT_OBJECT_0)
        TerminateProcess(lumora.hProcess, 99);
    GetExitCodeProcess(lumora.hProcess, &exitCode);
    CloseHandle(lumora.hProcess);
    EXPECT_EQ(exitCode, 0u);
}
