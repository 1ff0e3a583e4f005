// Every step moves forward by at least one byte, so a malformed chain ends at
// the end of the bytes instead of looping.
#include "imagelist/jpeg_segments.h"

#include <optional>
#include <string_view>

#include "imagelist/byte_reader.h"

namespace {
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
// How much of the stream is searched for a marker at a time: little, since a
// marker mostly follows right after a segment, and a file window holds more.
constexpr std::size_t kScanWindow = 64;

// Markers without a length field: TEM and the restart markers.
bool standsAlone(std::uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The next marker at or after offset, skipping stray bytes, fill bytes and
// stuffed zeros as decoders do; offset is left just after it.
std::optional<std::uint8_t> nextMarker(ByteSource& bytes, std::uint64_t& offset)
{
    bool afterFill = false;
    for (;;) {
        const std::span<const std::uint8_t> window = bytes.view(offset, kScanWindow);
        if (window.empty()) return std::nullopt;
        for (const std::uint8_t byte : window) {
            ++offset;
            if (afterFill && byte != 0xFF && byte != 0) return byte;
            afterFill = byte == 0xFF;
        }
    }
}
}  // namespace

JpegWalk walkJpegSegments(ByteSource& bytes, const std::function<bool(const JpegSegment&)>& visit)
{
    if (!ByteReader(bytes.view(0, 2)).matches(0, "\xFF\xD8")) return JpegWalk::NotJpeg;
    std::uint64_t offset = 2;
    for (;;) {
        const std::optional<std::uint8_t> marker = nextMarker(bytes, offset);
        if (!marker) return JpegWalk::Truncated;
        if (*marker == kStartOfScan) return JpegWalk::ReachedScan;
        if (*marker == kEndOfImage || *marker == kStartOfImage) return JpegWalk::Malformed;
        if (standsAlone(*marker)) continue;
        const std::optional<std::uint16_t> length = ByteReader(bytes.view(offset, 2)).u16(0);
        if (!length) return JpegWalk::Truncated;
        if (*length < 2) return JpegWalk::Malformed;
        const JpegSegment segment{*marker, static_cast<std::size_t>(offset + 2), static_cast<std::size_t>(*length - 2)};
        if (segment.payload + segment.length > bytes.size()) return JpegWalk::Truncated;
        if (!visit(segment)) return JpegWalk::Stopped;
        offset = segment.payload + segment.length;
    }
}

JpegWalk walkJpegSegments(std::span<const std::uint8_t> bytes, const std::function<bool(const JpegSegment&)>& visit)
{
    MemorySource source(bytes);
    return walkJpegSegments(source, visit);
}

bool isFrameHeader(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isExifPayload(std::uint8_t marker, std::span<const std::uint8_t> payload)
{
    return marker == kJpegApp1 && ByteReader(payload).matches(0, std::string_view("Exif\0\0", kExifSignatureLength));
}
