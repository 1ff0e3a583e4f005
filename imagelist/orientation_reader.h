// Reads a photo's EXIF orientation through the imaging component's IFD reader.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The orientation (1-8) from a JPEG's APP1 "Exif" segment, found in header (the
// file's first bytes), or from a TIFF file's first IFD. 1 when there is none,
// it cannot be read or it is out of range.
std::uint16_t readOrientation(const std::wstring& path, std::span<const std::uint8_t> header);
