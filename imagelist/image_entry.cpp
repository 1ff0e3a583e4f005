// Pure path rules of the image list: nothing here touches the file system, so
// the list, the naming and the forecast all see paths the same way.
#include "imagelist/image_entry.h"

#include <algorithm>

namespace {

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool isAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t foldAsciiCase(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool startsWithDriveDesignator(std::wstring_view path)
{
    return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == L':';
}

}  // namespace

std::wstring asciiCaseFolded(std::wstring_view path)
{
    std::wstring folded(path);
    for (wchar_t& c : folded) c = foldAsciiCase(c);
    return folded;
}

bool pathLessIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return foldAsciiCase(x) < foldAsciiCase(y); });
}

std::wstring fileNameOf(std::wstring_view path)
{
    const std::size_t lastSeparator = path.find_last_of(L"\\/");
    if (lastSeparator != std::wstring_view::npos) return std::wstring(path.substr(lastSeparator + 1));
    if (startsWithDriveDesignator(path)) return std::wstring(path.substr(2));
    return std::wstring(path);
}

std::wstring pathAppend(std::wstring_view folder, std::wstring_view name)
{
    std::wstring joined(folder);
    const bool endsInSeparator = !folder.empty() && isSeparator(folder.back());
    // "C:name" stays relative to the drive's current folder, as the standard append does.
    const bool bareDrive = folder.size() == 2 && startsWithDriveDesignator(folder);
    if (!endsInSeparator && !bareDrive) joined += L'\\';
    joined += name;
    return joined;
}

std::vector<std::wstring> splitOpenDialogResult(const wchar_t* buffer, std::size_t capacity)
{
    std::vector<std::wstring_view> parts;
    std::size_t pos = 0;
    while (pos < capacity && buffer[pos] != L'\0') {
        std::size_t end = pos;
        while (end < capacity && buffer[end] != L'\0') ++end;
        parts.emplace_back(buffer + pos, end - pos);
        pos = end + 1;
    }
    if (parts.size() <= 1) return {parts.begin(), parts.end()};

    // Several files: the folder comes first, then the bare names in it.
    std::vector<std::wstring> paths;
    paths.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(pathAppend(parts[0], parts[i]));
    return paths;
}
