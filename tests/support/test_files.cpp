// Byte-level file access through the standard library, so tests compare files
// without going through the code they test.
#include "support/test_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

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
