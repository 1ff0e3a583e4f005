// The program itself, started as a separate process: it shows its window, and
// closing that window from outside ends the process with exit code 0.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace {
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

TEST(Startup, ProgramShowsItsWindowAndExitsWithZeroWhenClosed)
{
    wchar_t self[MAX_PATH]{};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    // The program lies one folder above tests\test_app.exe.
    const std::filesystem::path program = std::filesystem::path(self).parent_path().parent_path() / L"lumora.exe";
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
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

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(lumora.info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(lumora.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}
