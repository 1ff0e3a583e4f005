// One image of the list as probed when it was added, and the pure rules around
// image paths: the A-Z folding that decides when two paths are the same, the file
// name shown to the user and the split of the open dialog's result buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ImageEntry {
    std::wstring path;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint64_t fileSize = 0;
    // EXIF orientation 1-8; width and height are already the upright size a viewer shows.
    std::uint16_t orientation = 1;
};

// The A-Z order under the same folding as asciiCaseFolded: two paths are
// equivalent exactly when their folded forms are equal.
bool pathLessIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
// The path with A-Z turned into a-z and nothing else changed: two paths name the
// same image when their folded forms are equal.
std::wstring asciiCaseFolded(std::wstring_view path);

// The last component of a path: after the last "\" or "/", never including a
// leading drive designator such as "C:". Empty only when the path ends in a separator.
std::wstring fileNameOf(std::wstring_view path);

// Joins a folder and a plain file name: a backslash goes between them unless the
// folder already ends in "\" or "/" or is a bare drive designator ("C:").
std::wstring pathAppend(std::wstring_view folder, std::wstring_view name);

// Turns the multi-select open dialog's buffer (zero-terminated strings, the last
// followed by an empty one) into full paths in the dialog's order: one full path,
// or a folder followed by names. `capacity` bounds every read.
std::vector<std::wstring> splitOpenDialogResult(const wchar_t* buffer, std::size_t capacity);
