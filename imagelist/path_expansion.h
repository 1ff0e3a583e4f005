// Turns paths dropped on the window or named on the command line into the
// candidates for the image list: a file as it is, a folder as the image files below it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The open dialog's image patterns; a folder contributes the files matching one of them.
inline constexpr wchar_t kImageFilePatterns[] =
    L"*.jpg;*.jpeg;*.jfif;*.png;*.webp;*.gif;*.tif;*.tiff;*.bmp;*.heic;*.heif;*.avif";

// True when the path's file name matches one of the patterns, A-Z without regard to case.
bool matchesImagePattern(std::wstring_view path);

// The files matching an image pattern, in A-Z order of the full path without regard to case.
std::vector<std::wstring> imageFilesInOrder(std::vector<std::wstring> files);

// Every path in the given order: a folder is replaced by the image files below it,
// subfolders included but linked folders and junctions not, each folder read once
// however many paths lead to it; anything else (a file of any kind, a missing or
// unreadable path) stays as it is, so that it is read and, if need be, counted as
// unreadable.
std::vector<std::wstring> expandPaths(const std::vector<std::wstring>& paths);
