// Outputs no ending of the process leaves half written: a child process killed
// while it writes, and a name another program still holds pending deletion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/encoder_lookup.h"
#include "convert/transcode.h"
#include "imagelist/image_list.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

constexpr wchar_t kChildFolder[] = L"LUMORA_KILLED_CHILD_FOLDER";

HRESULT toPng(const std::wstring& source, const std::wstring& output)
{
    ImageEntry entry;
    GUID png{};
    if (!probeImage(source, entry) || !findEncoder(L".png", png)) return E_FAIL;
    return transcodeImageToSize(entry, {entry.width, entry.height}, output, png, L".png", 85);
}

// The child's half of KilledWhileWriting.LeavesNothingUnderTheName.
TEST(KilledWhileWriting, Child)
{
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kChildFolder, folder, MAX_PATH)) GTEST_SKIP() << "runs only as a killed child";
    toPng(std::wstring(folder) + L"\\big.png", std::wstring(folder) + L"\\out.png");
}

TEST(KilledWhileWriting, LeavesNothingUnderTheName)
{
    TempFolder folder;
    // Noisy enough that encoding it takes the child far longer than noticing the file.
    ASSERT_EQ(writeTestImage(folder.file(L"big.png"), GUID_ContainerFormatPng, 3000, 3000,
                             GUID_WICPixelFormat32bppBGRA), S_OK);
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --gtest_filter=KilledWhileWriting.Child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    SetEnvironmentVariableW(kChildFolder, folder.path().c_str());
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableW(kChildFolder, nullptr);
    ASSERT_TRUE(started);
    // Listed, not opened: a file pending deletion cannot be opened.
    const auto outputListed = [&folder] { return fileNamesIn(folder.path()).size() == 2; };
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!outputListed() && GetTickCount64() < deadline && WaitForSingleObject(child.hProcess, 1) == WAIT_TIMEOUT) {
    }
    const bool writing = outputListed() && WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT;
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    ASSERT_TRUE(writing) << "the child was not caught writing";
    EXPECT_EQ(fileNamesIn(folder.path()), std::vector<std::wstring>{L"big.png"});
}

TEST(PendingDeletion, ANameStillPendingDeletionIsTakenUntilItIsGone)
{
    TempFolder folder;
    const std::wstring source = writeSmallPng(folder.file(L"small.png"));
    const std::wstring name = folder.file(L"out.png");
    // Another program deleted its file there but still holds it open.
    const HANDLE holder = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    FILE_DISPOSITION_INFO pending{TRUE};
    ASSERT_TRUE(SetFileInformationByHandle(holder, FileDispositionInfo, &pending, sizeof pending));
    EXPECT_TRUE(isNameTaken(toPng(source, name)));
    CloseHandle(holder);
    EXPECT_EQ(fileNamesIn(folder.path()), std::vector<std::wstring>{L"small.png"});
    // Once gone, the name is free, and a finished image stays.
    EXPECT_EQ(toPng(source, name), S_OK);
    EXPECT_EQ(readImageFacts(name).result, S_OK);
}

}  // namespace
