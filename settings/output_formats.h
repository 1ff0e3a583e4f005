// The seven output formats Lumora writes, and the format classes by which the
// forecast tells codec families apart.
#pragma once

#include <array>
#include <string>
#include <string_view>

struct OutputFormat {
    const wchar_t* label;
    const wchar_t* extension;  // lower case, with its dot
};

inline constexpr std::array<OutputFormat, 7> kOutputFormats{{
    {L"JPEG (.jpg)", L".jpg"},
    {L"JFIF (.jfif)", L".jfif"},
    {L"PNG (.png)", L".png"},
    {L"WebP (.webp)", L".webp"},
    {L"TIFF (.tif)", L".tif"},
    {L"BMP (.bmp)", L".bmp"},
    {L"GIF (.gif)", L".gif"},
}};

// The row for a combo selection, clamped to the table (nothing selected gives row 0).
const OutputFormat& outputFormatAt(long long selection);

// Lower-cased extension of a path, file name or bare extension, with ".jpeg",
// ".jpe", ".jfif" folded to ".jpg" and ".tiff" to ".tif".
std::wstring formatClassOf(std::wstring_view nameOrExtension);
