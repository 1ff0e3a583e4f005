// What the benchmarks convert and compare with: photo-like 4000 x 3000 JPEGs
// in a folder of their own, the shortest direct WIC loop doing one transcode's
// work, and runs of the benchmark itself in a child process, so that peak
// working sets stay apart.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstddef>
#include <string>

#include "settings/scaling.h"

inline constexpr UINT kPhotoWidth = 4000;
inline constexpr UINT kPhotoHeight = 3000;
inline constexpr int kPhotoCount = 20;
inline constexpr PixelSize kJpegTarget{1920, 1440};
inline constexpr int kQuality = 85;

std::wstring photoPath(const std::wstring& folder, int index);

// A new folder under the temp path with kPhotoCount photos in it, or an empty
// text when that failed; prints their average size.
std::wstring writePhotos();
void removeFolder(const std::wstring& folder);

// The work of one transcode written straight down, without the engine's structure.
HRESULT convertDirectly(const std::wstring& input, const std::wstring& output, const GUID& container,
                        PixelSize target, WICPixelFormatGUID format, bool withQuality);

// Runs this program with the arguments and returns what it printed.
std::string runChild(const std::wstring& arguments);
// The process's peak working set so far, in bytes.
std::size_t peakWorkingSet();
