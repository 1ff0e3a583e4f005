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
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::wstring& path, std::string_view bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::wstring> fileNamesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(std::filesystem::path(folder), error)) {
        if (item.is_regular_file(error)) names.push_back(item.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}
