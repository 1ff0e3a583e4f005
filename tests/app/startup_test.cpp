// The program itself, started as a separate process: it shows its window, adds
// what its command line names, and exits with 0 when closed.
#include <gtest/gtest.h>

#include <functional>

#include "app/controls.h"
#include "support/test_files.h"
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
    HWND window = nullptr;
    const ProgramRun run = runProgram(
        L"lumora.exe", quoted(files.file(L"mit Leerzeichen.png")) + L" " + quoted(tree) + L" " + quoted(deep), 0,
        [&](const PROCESS_INFORMATION& lumora, const std::wstring&) {
            EXPECT_TRUE(waitUntil(lumora.hProcess, [&] {
                // Another process's window answers from the text the system keeps for it.
                wchar_t summary[64]{};
                window = FindWindowW(L"Lumora.MainWindow", nullptr);
                return window && IsWindowVisible(window) &&
                       GetWindowTextW(GetDlgItem(window, kSummaryText), summary, 64) &&
                       std::wstring_view(summary).starts_with(L"4 Bilder  \u2022");
            })) << "no visible main window with the four images";
            EXPECT_TRUE(window && IsWindowEnabled(window)) << "a message box is open";  // nothing was unreadable
            if (window) PostMessageW(window, WM_CLOSE, 0, 0);
        });
    EXPECT_EQ(run.exitCode, 0u);
}
