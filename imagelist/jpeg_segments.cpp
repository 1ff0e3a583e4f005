// Every step moves forward by at least one byte, so a malformed chain ends at
// the end of the buffer instead of looping.
#include "imagelist/jpeg_segments.h"

#include <optional>

#include "imagelist/byte_reader.h"

namespace {
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;

// Markers without a length field: TEM and the restart markers.
bool standsAlone(std::uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The next marker at or after offset, skipping stray bytes, fill bytes and
// stuffed zeros as decoders do; offset is left just after it.
std::optional<std::uint8_t> nextMarker(std::span<const std::uint8_t> bytes, std::size_t& offset)
{
    while (offset < bytes.size()) {
        while (offset < bytes.size() && bytes[offset] != 0xFF) ++offset;
        while (offset < bytes.size() && bytes[offset] == 0xFF) ++offset;
        if (offset == bytes.size()) break;
        const std::uint8_t marker = bytes[offset++];
        if (marker != 0) return marker;
    }
    return std::nullopt;
}
}  // namespace

JpegWalk walkJpegSegments(std::span<const std::uint8_t> bytes, const std::function<bool(const JpegSegment&)>& visit)
{
    const ByteReader reader(bytes);
    if (!reader.matches(0, "\xFF\xD8")) return JpegWalk::NotJpeg;
    std::size_t offset = 2;
    for (;;) {
        const std::optional<std::uint8_t> marker = nextMarker(bytes, offset);
        if (!marker) return JpegWalk::Truncated;
        if (*marker == kStartOfScan) return JpegWalk::ReachedScan;
        if (*marker == kEndOfImage || *marker == kStartOfImage) return JpegWalk::Malformed;
        if (standsAlone(*marker)) continue;
        const std::optional<std::uint16_t> length = reader.u16(offset);
        if (!length) return JpegWalk::Truncated;
        if (*length < 2) return JpegWalk::Malformed;
        const JpegSegment segment{*marker, offset + 2, static_cast<std::size_t>(*length - 2)};
        if (!reader.has(segment.payload, segment.length)) return JpegWalk::Truncated;
        if (!visit(segment)) return JpegWalk::Stopped;
        offset = segment.payload + segment.length;
    }
}
