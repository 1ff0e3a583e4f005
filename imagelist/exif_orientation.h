// Where a photo's EXIF orientation lives (the TIFF part of a JPEG's APP1 "Exif"
// segment, or a TIFF file's first IFD) and what the eight values do to the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "settings/scaling.h"

// The TIFF part of the first APP1 "Exif" segment before the frame header; empty
// when there is none or that segment cannot hold a TIFF header.
std::span<const std::uint8_t> exifTiffPart(std::span<const std::uint8_t> jpeg);

struct IfdLocation {
    bool bigEndian = false;
    std::uint32_t offset = 0;
};

// From a TIFF header: "II*\0" (little-endian) or "MM\0*" (big-endian), then the first IFD's offset.
std::optional<IfdLocation> firstIfd(std::span<const std::uint8_t> tiffHeader);

// Bytes of an IFD with this many entries: the count, the entries and the next IFD's offset.
std::size_t ifdByteSize(std::uint16_t entryCount);

// True when the IFD at the start of ifd is complete and every value it points
// to lies inside a TIFF part of tiffSize bytes.
bool ifdValuesInBounds(std::span<const std::uint8_t> ifd, bool bigEndian, std::uint64_t tiffSize);

// How the stored pixels are turned for display: sides swapped (5-8), then stored
// columns and rows read backwards. Any value outside 1-8 counts as 1.
struct OrientationTransform {
    bool swapSides = false;
    bool reverseColumns = false;
    bool reverseRows = false;
};
OrientationTransform orientationTransform(std::uint16_t orientation);

// The size a viewer shows for a stored size.
PixelSize orientedSize(PixelSize stored, std::uint16_t orientation);
