// Chooses output file names. Anything that exists counts as taken (a directory
// too); a path whose status cannot be queried counts as free. The output is
// created exclusively later, so a free name that turns out taken costs a retry.
#include "convert/output_naming.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "imagelist/image_entry.h"

namespace {

constexpr int kLastCounter = 999999;

bool isTaken(const std::wstring& path)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    return !ec && status.type() != std::filesystem::file_type::not_found;
}

std::wstring numberedName(std::wstring_view stem, unsigned long long number, std::wstring_view extension)
{
    std::wstring name(stem);
    name += L" (";
    name += std::to_wstring(number);
    name += L')';
    name += extension;
    return name;
}

}  // namespace

std::wstring pathStem(std::wstring_view path)
{
    std::wstring name = fileNameOf(path);
    name.erase(std::min(name.find(L':'), name.size()));

    if (name.size() <= 1 || name == L"..") return name;
    if (name.back() == L'.') {
        name.pop_back();
        return name;
    }
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot != 0) name.erase(dot);
    return name;
}

OutputName uniqueOutputPath(std::wstring_view targetFolder, std::wstring_view sourcePath, std::wstring_view extension,
                            const std::function<NameClaim(const std::wstring&)>& claimOf)
{
    const std::wstring stem = pathStem(sourcePath);
    // Number 1 stands for the plain name: no name ever carries " (1)".
    for (int n = 1; n <= kLastCounter; ++n) {
        const std::wstring candidate =
            pathAppend(targetFolder, n == 1 ? stem + std::wstring(extension) : numberedName(stem, n, extension));
        const NameClaim claim = claimOf ? claimOf(candidate) : NameClaim::None;
        if (claim == NameClaim::Pending) return {};
        if (claim == NameClaim::None && !isTaken(candidate)) return {candidate, false};
    }
    // A folder with a million variants of one name: give up searching, the
    // milliseconds since start are as good as unique.
    return {pathAppend(targetFolder, numberedName(stem, GetTickCount64(), extension)), true};
}
