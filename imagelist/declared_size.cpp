// Header sizes of the formats whose header is simple. A file whose decoder
// would allocate the whole declared image at once is refused before it opens.
#include "imagelist/declared_size.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "imagelist/byte_reader.h"
#include "imagelist/jpeg_segments.h"

namespace {
using Kind = DeclaredSize::Kind;

constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;
constexpr std::uint32_t kMaxSide = 65535;
constexpr std::size_t kFirstRead = 64 * 1024;
constexpr std::size_t kLongestHeader = 16 * 1024 * 1024;

DeclaredSize sized(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0) return {Kind::Malformed};
    return {Kind::Known, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

DeclaredSize pngSize(const ByteReader& reader)
{
    if (!reader.has(0, 24)) return {Kind::Truncated};
    if (!reader.matches(12, "IHDR")) return {Kind::Malformed};
    return sized(*reader.u32(16), *reader.u32(20));
}

DeclaredSize gifSize(std::span<const std::uint8_t> header)
{
    const ByteReader reader(header, false);
    if (!reader.has(0, 10)) return {Kind::Truncated};
    return sized(*reader.u16(6), *reader.u16(8));
}

DeclaredSize bmpSize(std::span<const std::uint8_t> header)
{
    const ByteReader reader(header, false);
    const std::optional<std::uint32_t> infoSize = reader.u32(14);
    if (!infoSize) return {Kind::Truncated};
    // The old core header has 16-bit sides; every later one signed 32-bit sides,
    // a negative height meaning rows stored top-down.
    if (*infoSize == 12) {
        if (!reader.has(18, 4)) return {Kind::Truncated};
        return sized(*reader.u16(18), *reader.u16(20));
    }
    if (*infoSize < 16) return {Kind::Malformed};
    if (!reader.has(18, 8)) return {Kind::Truncated};
    const std::int64_t height = static_cast<std::int32_t>(*reader.u32(22));
    return sized(static_cast<std::int32_t>(*reader.u32(18)), std::llabs(height));
}

bool isFrameHeader(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

DeclaredSize jpegSize(std::span<const std::uint8_t> header)
{
    const ByteReader reader(header);
    DeclaredSize size{Kind::Malformed};
    const JpegWalk walk = walkJpegSegments(header, [&](const JpegSegment& segment) {
        if (!isFrameHeader(segment.marker)) return true;
        // Precision, then height before width.
        if (segment.length >= 5) size = sized(*reader.u16(segment.payload + 3), *reader.u16(segment.payload + 1));
        return false;
    });
    if (walk == JpegWalk::Truncated) return {Kind::Truncated};
    // A scan before any frame header leaves the size unknown to the decoder too.
    return size;
}
}  // namespace

DeclaredSize declaredSize(std::span<const std::uint8_t> header)
{
    const ByteReader reader(header);
    if (reader.matches(0, "\x89PNG\r\n\x1A\n")) return pngSize(reader);
    if (reader.matches(0, "\xFF\xD8")) return jpegSize(header);
    if (reader.matches(0, "GIF87a") || reader.matches(0, "GIF89a")) return gifSize(header);
    if (reader.matches(0, "BM")) return bmpSize(header);
    return {Kind::Unknown};
}

bool exceedsPixelLimit(std::uint64_t width, std::uint64_t height)
{
    return width * height > kMaxPixels;
}

HeaderVerdict headerVerdict(std::span<const std::uint8_t> header)
{
    const DeclaredSize size = declaredSize(header);
    switch (size.kind) {
    case Kind::Unknown:
        return HeaderVerdict::Decodable;
    case Kind::Known:
        if (size.width > kMaxSide || size.height > kMaxSide || exceedsPixelLimit(size.width, size.height))
            return HeaderVerdict::TooLarge;
        return HeaderVerdict::Decodable;
    case Kind::Truncated:
    case Kind::Malformed:
        break;
    }
    return HeaderVerdict::Broken;
}

std::vector<std::uint8_t> readFileHeader(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::vector<std::uint8_t> bytes;
    // Grows only while a JPEG's segments run on past what has been read.
    for (std::size_t wanted = kFirstRead;; wanted *= 4) {
        const std::size_t had = bytes.size();
        bytes.resize(wanted);
        file.read(reinterpret_cast<char*>(bytes.data() + had), static_cast<std::streamsize>(wanted - had));
        bytes.resize(had + static_cast<std::size_t>(file.gcount()));
        if (bytes.size() < wanted || wanted >= kLongestHeader) return bytes;
        if (declaredSize(bytes).kind != Kind::Truncated) return bytes;
    }
}
