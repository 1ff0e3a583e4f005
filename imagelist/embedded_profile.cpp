// Only the bounds-checked reader touches the file's bytes; a profile that is
// not complete and consistent counts as none.
#include "imagelist/embedded_profile.h"

#include <optional>
#include <string_view>

#include "imagelist/byte_reader.h"
#include "imagelist/exif_orientation.h"
#include "imagelist/jpeg_segments.h"

namespace {
constexpr std::uint8_t kApp2 = 0xE2;
constexpr std::string_view kIccSignature("ICC_PROFILE\0", 12);
constexpr std::size_t kIfdEntryBytes = 12;
constexpr std::uint16_t kIccProfileTag = 34675;
constexpr std::uint16_t kExifIfdTag = 0x8769;
constexpr std::uint16_t kColorSpaceTag = 0xA001;
constexpr std::uint16_t kInteropIfdTag = 0xA005;
constexpr std::uint16_t kInteropIndexTag = 0x0001;

// Type, count and where the value lies (inside the entry when it fits in four bytes).
struct IfdValue {
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::size_t at = 0;
};

// The entry with this tag in the IFD at offset; nothing when it is missing or
// the IFD runs past the end.
std::optional<IfdValue> findEntry(const ByteReader& reader, std::uint32_t offset, std::uint16_t tag)
{
    const std::optional<std::uint16_t> count = reader.u16(offset);
    if (!count || !reader.has(offset, ifdByteSize(*count))) return std::nullopt;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = offset + 2 + kIfdEntryBytes * i;
        if (*reader.u16(entry) != tag) continue;
        const std::uint16_t type = *reader.u16(entry + 2);
        const std::uint32_t values = *reader.u32(entry + 4);
        // Only BYTE, ASCII and UNDEFINED values of more than four bytes sit elsewhere here.
        const bool outside = (type == 1 || type == 2 || type == 7) && values > 4;
        return IfdValue{type, values, outside ? std::size_t{*reader.u32(entry + 8)} : entry + 8};
    }
    return std::nullopt;
}

// The one LONG or SHORT number an entry holds, as IFD offsets and ColorSpace are stored.
std::optional<std::uint32_t> numberOf(const ByteReader& reader, std::uint32_t offset, std::uint16_t tag)
{
    const std::optional<IfdValue> value = findEntry(reader, offset, tag);
    if (!value || value->count != 1) return std::nullopt;
    if (value->type == 4) return reader.u32(value->at);
    if (value->type == 3) return reader.u16(value->at);
    return std::nullopt;
}
}  // namespace

std::vector<std::uint8_t> jpegIccProfile(std::span<const std::uint8_t> jpeg)
{
    const ByteReader reader(jpeg);
    std::vector<std::span<const std::uint8_t>> chunks;
    bool consistent = true;
    walkJpegSegments(jpeg, [&](const JpegSegment& segment) {
        if (segment.marker != kApp2 || segment.length < kIccSignature.size() + 2 ||
            !reader.matches(segment.payload, kIccSignature))
            return true;
        const std::uint8_t sequence = *reader.u8(segment.payload + 12);
        const std::uint8_t total = *reader.u8(segment.payload + 13);
        if (chunks.empty()) chunks.resize(total);
        if (total != chunks.size() || sequence == 0 || sequence > total || !chunks[sequence - 1].empty())
            consistent = false;
        else
            chunks[sequence - 1] = jpeg.subspan(segment.payload + 14, segment.length - 14);
        return consistent;
    });
    std::vector<std::uint8_t> profile;
    for (const std::span<const std::uint8_t> chunk : chunks) {
        // An empty chunk is a missing one: every real chunk holds bytes.
        if (!consistent || chunk.empty()) return {};
        profile.insert(profile.end(), chunk.begin(), chunk.end());
    }
    return profile;
}

std::span<const std::uint8_t> tiffIccProfile(std::span<const std::uint8_t> tiff)
{
    const std::optional<IfdLocation> first = firstIfd(tiff);
    if (!first) return {};
    const ByteReader reader(tiff, first->bigEndian);
    const std::optional<IfdValue> value = findEntry(reader, first->offset, kIccProfileTag);
    if (!value || (value->type != 7 && value->type != 1) || !reader.has(value->at, value->count)) return {};
    return tiff.subspan(value->at, value->count);
}

bool exifMarksAdobeRgb(std::span<const std::uint8_t> jpeg)
{
    const std::span<const std::uint8_t> tiff = exifTiffPart(jpeg);
    const std::optional<IfdLocation> first = firstIfd(tiff);
    if (!first) return false;
    const ByteReader reader(tiff, first->bigEndian);
    const std::optional<std::uint32_t> exif = numberOf(reader, first->offset, kExifIfdTag);
    if (!exif || numberOf(reader, *exif, kColorSpaceTag) != 0xFFFF) return false;
    const std::optional<std::uint32_t> interop = numberOf(reader, *exif, kInteropIfdTag);
    if (!interop) return false;
    const std::optional<IfdValue> index = findEntry(reader, *interop, kInteropIndexTag);
    return index && index->type == 2 && index->count == 4 && reader.matches(index->at, std::string_view("R03\0", 4));
}
