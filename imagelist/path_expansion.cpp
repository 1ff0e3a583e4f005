// Expanding dropped and command-line paths. The folder walk is the one file-system
// call; matching and ordering are pure and tested on their own.
#include "imagelist/path_expansion.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "imagelist/image_entry.h"

namespace {
namespace fs = std::filesystem;

// Appends the regular files below the folder, descending into every subfolder it
// can list; false when the folder itself cannot be listed (a file, missing, denied).
bool collectFilesBelow(const fs::path& folder, std::vector<std::wstring>& files)
{
    std::error_code error;
    fs::directory_iterator entry(folder, error);
    if (error) return false;
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code ignored;
        // Linked folders are left out: they may lead back up the tree.
        if (entry->is_directory(ignored) && !entry->is_symlink(ignored))
            collectFilesBelow(entry->path(), files);
        else if (entry->is_regular_file(ignored))
            files.push_back(entry->path().wstring());
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
    for (const std::wstring& path : paths) {
        std::vector<std::wstring> below;
        if (!collectFilesBelow(fs::path(path), below)) {
            candidates.push_back(path);
            continue;
        }
        for (std::wstring& file : imageFilesInOrder(std::move(below))) candidates.push_back(std::move(file));
    }
    return candidates;
}
