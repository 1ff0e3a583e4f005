// Reads a drop's paths through the shell and splits the command line by the
// shell's own rules, so quoted paths with blanks arrive whole.
#include "app/shell_paths.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace {
struct LocalMemoryRelease {
    void operator()(LPWSTR* memory) const { LocalFree(memory); }
};
}  // namespace

std::vector<std::wstring> takeDroppedPaths(HDROP drop)
{
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    return paths;
}

std::vector<std::wstring> commandLinePaths()
{
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalMemoryRelease> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::wstring> paths;
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring path(arguments.get()[i]);
        if (!path.empty()) paths.push_back(fullPathOf(path));
    }
    return paths;
}

std::wstring fullPathOf(const std::wstring& path)
{
    if (!std::filesystem::path(path).is_relative()) return path;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.wstring();
}
