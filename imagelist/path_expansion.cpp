// Expanding dropped and command-line paths. The folder walk is the one file-system
// call; matching and ordering are pure and tested on their own.
#include "imagelist/path_expansion.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "imagelist/image_entry.h"

namespace {
// A folder as the file system knows it, whatever path or link leads there.
using FolderIdentity = std::pair<DWORD, std::uint64_t>;  // volume serial number, file index

bool identify(const std::wstring& folder, FolderIdentity& identity)
{
    // Folders open only with backup semantics; no access right is needed to ask.
    const HANDLE handle = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(handle, &information) != 0;
    CloseHandle(handle);
    identity = {information.dwVolumeSerialNumber,
                std::uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow};
    // Some network shares report no index at all; those folders count as unknown.
    return known && identity.second != 0;
}

std::wstring joined(const std::wstring& folder, std::wstring_view name)
{
    const bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return folder + (separated ? L"" : L"\\") + std::wstring(name);
}

// A linked folder or a junction: it may lead back up the tree or out of it.
// Other reparse points, such as folders kept in the cloud, are plain folders.
// Wine reports links without their tag.
bool isLinkedFolder(const WIN32_FIND_DATAW& found)
{
    const DWORD tag = found.dwReserved0;
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && (tag == 0 || IsReparseTagNameSurrogate(tag));
}

// Appends the files directly in the folder and queues its subfolders but the
// linked ones (std::filesystem does not call them links under Wine); false
// when the folder cannot be listed.
bool listFolder(const std::wstring& folder, std::vector<std::wstring>& files, std::vector<std::wstring>& folders)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(joined(folder, L"*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L".." || isLinkedFolder(found)) continue;
        const bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        (isFolder ? folders : files).push_back(joined(folder, name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

// The files below the folder, each folder entered once however many ways lead
// to it; false when top is no folder that can be listed (a file, missing, denied).
bool collectFilesBelow(const std::wstring& top, std::set<FolderIdentity>& entered, std::vector<std::wstring>& files)
{
    const DWORD attributes = GetFileAttributesW(top.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::vector<std::wstring> folders = {top};
    while (!folders.empty()) {
        const std::wstring folder = std::move(folders.back());
        folders.pop_back();
        FolderIdentity identity;
        // Without an identity, leaving out links still keeps the walk finite.
        if (identify(folder, identity) && !entered.insert(identity).second) continue;
        if (!listFolder(folder, files, folders) && folder == top) return false;
    }
    return true;
}
}  // namespace

bool matchesImagePattern(std::wstring_view path)
{
    const std::wstring name = fileNameOf(path);
    std::wstring_view patterns(kImageFilePatterns);
    while (!patterns.empty()) {
        const std::size_t end = std::min(patterns.find(L';'), patterns.size());
        // Every pattern is "*" followed by its extension.
        const std::wstring_view suffix = patterns.substr(1, end - 1);
        if (name.size() >= suffix.size() &&
            asciiCaseFolded(std::wstring_view(name).substr(name.size() - suffix.size())) == asciiCaseFolded(suffix))
            return true;
        patterns.remove_prefix(std::min(end + 1, patterns.size()));
    }
    return false;
}

std::vector<std::wstring> imageFilesInOrder(std::vector<std::wstring> files)
{
    std::erase_if(files, [](const std::wstring& file) { return !matchesImagePattern(file); });
    std::sort(files.begin(), files.end(),
              [](const std::wstring& a, const std::wstring& b) { return pathLessIgnoringAsciiCase(a, b); });
    return files;
}

std::vector<std::wstring> expandPaths(const std::vector<std::wstring>& paths)
{
    std::vector<std::wstring> candidates;
    std::set<FolderIdentity> entered;
    for (const std::wstring& path : paths) {
        std::vector<std::wstring> below;
        if (!collectFilesBelow(path, entered, below)) {
            candidates.push_back(path);
            continue;
        }
        for (std::wstring& file : imageFilesInOrder(std::move(below))) candidates.push_back(std::move(file));
    }
    return candidates;
}
