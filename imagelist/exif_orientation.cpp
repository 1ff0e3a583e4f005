// EXIF structures read from untrusted bytes: every offset is checked before use.
#include "imagelist/exif_orientation.h"

#include <utility>

#include "imagelist/byte_reader.h"
#include "imagelist/jpeg_segments.h"

namespace {
constexpr std::size_t kTiffHeaderBytes = 8;
constexpr std::size_t kIfdEntryBytes = 12;

// Bytes per value of the TIFF field types 1-12; others are ignored by readers.
std::uint64_t typeBytes(std::uint16_t type)
{
    constexpr std::uint8_t kBytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < std::size(kBytes) ? kBytes[type] : 0;
}
}  // namespace

std::span<const std::uint8_t> exifTiffPart(std::span<const std::uint8_t> jpeg)
{
    std::span<const std::uint8_t> part;
    walkJpegSegments(jpeg, [&](const JpegSegment& segment) {
        const std::span<const std::uint8_t> payload = jpeg.subspan(segment.payload, segment.length);
        if (!isExifPayload(segment.marker, payload)) return !isFrameHeader(segment.marker);
        // A block too short for a TIFF header is malformed: no orientation, and no later block either.
        if (payload.size() >= kExifSignatureLength + kTiffHeaderBytes) part = payload.subspan(kExifSignatureLength);
        return false;
    });
    return part;
}

std::optional<IfdLocation> firstIfd(std::span<const std::uint8_t> tiffHeader)
{
    const ByteReader probe(tiffHeader);
    bool bigEndian = false;
    if (probe.matches(0, std::string_view("MM\0*", 4)))
        bigEndian = true;
    else if (!probe.matches(0, std::string_view("II*\0", 4)))
        return std::nullopt;
    const std::optional<std::uint32_t> offset = ByteReader(tiffHeader, bigEndian).u32(4);
    if (!offset) return std::nullopt;
    return IfdLocation{bigEndian, *offset};
}

std::size_t ifdByteSize(std::uint16_t entryCount)
{
    return 2 + kIfdEntryBytes * entryCount + 4;
}

bool ifdValuesInBounds(std::span<const std::uint8_t> ifd, bool bigEndian, std::uint64_t tiffSize)
{
    const ByteReader reader(ifd, bigEndian);
    const std::optional<std::uint16_t> count = reader.u16(0);
    if (!count || !reader.has(0, ifdByteSize(*count))) return false;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = 2 + kIfdEntryBytes * i;
        const std::uint64_t bytes = typeBytes(*reader.u16(entry + 2)) * *reader.u32(entry + 4);
        // Values of up to four bytes sit in the entry itself; longer ones at an offset.
        if (bytes > 4 && (bytes > tiffSize || *reader.u32(entry + 8) > tiffSize - bytes)) return false;
    }
    return true;
}

OrientationTransform orientationTransform(std::uint16_t orientation)
{
    switch (orientation) {
    case 2: return {false, true, false};
    case 3: return {false, true, true};
    case 4: return {false, false, true};
    case 5: return {true, false, false};
    case 6: return {true, false, true};
    case 7: return {true, true, true};
    case 8: return {true, true, false};
    default: return {};
    }
}

PixelSize orientedSize(PixelSize stored, std::uint16_t orientation)
{
    if (orientationTransform(orientation).swapSides) std::swap(stored.width, stored.height);
    return stored;
}
