// Byte-level file access through the standard library, so tests compare files
// without going through the code they test; image surgery likewise by hand,
// links the tests plant and the program's own processes.
#include "support/test_files.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "support/wic_files.h"

std::string readFileBytes(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void writeFileBytes(const std::wstring& path, std::string_view bytes)
{
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::vector<std::wstring> fileNamesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error))
        if (item.is_regular_file(error)) names.push_back(item.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

namespace {
std::string number(std::uint32_t value, int size, bool bigEndian)
{
    std::string bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> 8 * (bigEndian ? size - 1 - i : i));
    return bytes;
}

using UnixName = char*(CDECL*)(const wchar_t*);

// Wine's own export; absent on Windows.
UnixName wineUnixName()
{
    return reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
}

// Runs a Linux program on the Linux names of the paths, which Wine does but
// without a process handle to wait on; so this waits, on the folder's change
// notifications and for at most ten seconds, until `watched` is visible or not.
bool runOnUnixNames(std::string command, std::initializer_list<const std::wstring*> paths,
                    const std::wstring& watched, bool visible)
{
    for (const std::wstring* path : paths) {
        char* name = wineUnixName()(path->c_str());
        if (!name) return false;
        command += std::string(" \"") + name + "\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    const std::wstring folder = watched.substr(0, watched.find_last_of(L'\\'));
    const HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE) return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    bool reached = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process) != 0;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (reached && (GetFileAttributesW(watched.c_str()) != INVALID_FILE_ATTRIBUTES) != visible) {
        const ULONGLONG now = GetTickCount64();
        reached = now < deadline && WaitForSingleObject(change, static_cast<DWORD>(deadline - now)) == WAIT_OBJECT_0 &&
                  FindNextChangeNotification(change);
    }
    FindCloseChangeNotification(change);
    return reached;
}
}  // namespace

std::string withClaimedSize(std::string file, std::uint32_t width, std::uint32_t height)
{
    const auto claim = [&](std::size_t widthAt, std::size_t heightAt, int size, bool bigEndian) {
        file.replace(widthAt, size, number(width, size, bigEndian));
        return file.replace(heightAt, size, number(height, size, bigEndian));
    };
    if (file.starts_with("\x89PNG")) return claim(16, 20, 4, true);
    if (file.starts_with("GIF")) return claim(6, 8, 2, false);
    if (file.starts_with("BM")) return claim(18, 22, 4, false);
    const std::size_t frame = file.find("\xFF\xC0");
    return claim(frame + 7, frame + 5, 2, true);
}

std::string tiffBytes(bool bigEndian, const std::vector<IfdField>& fields, std::string_view data)
{
    std::string bytes = std::string(bigEndian ? "MM\0*" : "II*\0", 4) + number(8, 4, bigEndian) +
                        number(static_cast<std::uint32_t>(fields.size()), 2, bigEndian);
    // A single SHORT sits in the first two bytes of the value field.
    for (const auto& [tag, type, count, value] : fields)
        bytes += number(tag, 2, bigEndian) + number(type, 2, bigEndian) + number(count, 4, bigEndian) +
                 number(type == 3 && count == 1 && bigEndian ? value << 16 : value, 4, bigEndian);
    return bytes + number(0, 4, bigEndian) + std::string(data);
}

std::string withExif(std::string_view jpeg, std::string_view tiff)
{
    const std::string payload = std::string("Exif\0\0", 6) + std::string(tiff);
    return std::string(jpeg.substr(0, 2)) + "\xFF\xE1" +
           number(static_cast<std::uint32_t>(payload.size() + 2), 2, true) + payload + std::string(jpeg.substr(2));
}

std::string iconBytes(const std::vector<std::string>& images, std::uint8_t side)
{
    const auto count = static_cast<std::uint32_t>(images.size());
    std::string directory = number(0, 2, false) + number(1, 2, false) + number(count, 2, false), data;
    for (const std::string& image : images) {
        const auto at = static_cast<std::uint32_t>(6 + 16 * count + data.size());
        directory += std::string{char(side), char(side), 0, 0} + number(1, 2, false) + number(32, 2, false) +
                     number(static_cast<std::uint32_t>(image.size()), 4, false) + number(at, 4, false);
        data += image;
    }
    return directory + data;
}

std::string iconDib(const std::string& bmp)
{
    std::string dib = bmp.substr(14);
    const auto side = [&](std::size_t at) {
        return std::uint32_t{std::uint8_t(dib[at])} | std::uint32_t{std::uint8_t(dib[at + 1])} << 8;
    };
    const std::uint32_t width = side(4), height = side(8);
    // Mask rows of one bit per pixel, padded to four bytes.
    return dib.replace(8, 4, number(2 * height, 4, false)) + std::string((width + 31) / 32 * 4 * height, '\0');
}

std::string gifBytes(std::uint16_t width, std::uint16_t height)
{
    const std::string screen = std::string("GIF89a\1\0\1\0\x80\0\0", 13) + std::string("\0\0\0\xFF\xFF\xFF", 6);
    const std::string control("\x21\xF9\4\0\0\0\0\0", 8);
    const std::string image = std::string("\x2C\0\0\0\0", 5) + number(width, 2, false) + number(height, 2, false) +
                              std::string("\0\2\2\x44\1\0;", 7);
    return screen + control + image;
}

SymbolicLink::SymbolicLink(const std::wstring& link, const std::wstring& target) : link_(link), target_(target)
{
    if (!wineUnixName()) {
        made_ = CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
        return;
    }
    // Wine's CreateSymbolicLinkW reports success but makes nothing, and Wine
    // shows a link only while its target exists.
    writeFileBytes(target, "");
    made_ = runOnUnixNames("/bin/ln -s", {&target, &link}, link, true);
    DeleteFileW(target.c_str());
}

SymbolicLink::~SymbolicLink()
{
    if (!made_ || !wineUnixName()) {
        if (made_) DeleteFileW(link_.c_str());
        return;
    }
    // Deleting the link through Wine would delete its target instead.
    writeFileBytes(target_, "");
    runOnUnixNames("/bin/rm -f", {&link_}, link_, false);
    DeleteFileW(target_.c_str());
}

ProgramRun runProgram(const std::wstring& program, const std::wstring& arguments, DWORD flags,
                      const std::function<void(const PROCESS_INFORMATION&, const std::wstring&)>& meanwhile)
{
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring build(self, std::wstring_view(self).rfind(L"\\tests\\"));
    std::wstring commandLine = quoted(build + L"\\" + program) + L" " + arguments;
    const TempFolder streams;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const auto create = [&](const wchar_t* name) {
        return CreateFileW(streams.file(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_NEW, 0,
                           nullptr);
    };
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = create(L"out");
    startup.hStdError = create(L"err");
    PROCESS_INFORMATION process{};
    ProgramRun run;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup,
                       &process)) {
        if (meanwhile) meanwhile(process, streams.file(L"err"));
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    run.out = readFileBytes(streams.file(L"out"));
    run.err = readFileBytes(streams.file(L"err"));
    return run;
}
