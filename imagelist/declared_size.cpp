// Header sizes read from untrusted bytes: every length is checked against its
// structure and the file before use. A file whose decoder would allocate the
// whole declared image at once is refused before it opens.
#include "imagelist/declared_size.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "imagelist/byte_reader.h"
#include "imagelist/exif_orientation.h"
#include "imagelist/file_source.h"
#include "imagelist/jpeg_header.h"
#include "imagelist/jpeg_segments.h"

namespace {
using Kind = DeclaredSize::Kind;

constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;
constexpr std::uint32_t kMaxDecodedSide = 65535;
constexpr std::size_t kFirstRead = 64 * 1024;
constexpr std::size_t kPngHeaderBytes = 24;
constexpr std::size_t kBmpFileHeaderBytes = 14;
constexpr std::size_t kDibSizeBytes = 12;  // the info header's length, width and height
constexpr std::size_t kDibFormatBytes = 20;  // then planes, bit count and compression
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::size_t kIcoDirectoryEntryBytes = 16;

DeclaredSize sized(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0) return {Kind::Malformed};
    return {Kind::Known, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

bool isPng(std::span<const std::uint8_t> bytes)
{
    return ByteReader(bytes).matches(0, "\x89PNG\r\n\x1A\n");
}

DeclaredSize pngSize(std::span<const std::uint8_t> header)
{
    const ByteReader png(header);
    if (!png.has(0, kPngHeaderBytes)) return {Kind::Truncated};
    // IHDR comes first and holds exactly 13 bytes.
    if (*png.u32(8) != 13 || !png.matches(12, "IHDR")) return {Kind::Malformed};
    return sized(*png.u32(16), *png.u32(20));
}

// Runs are stored bottom-up at the depth they encode (8 or 4 bits); other
// combinations leave a decoder to make up the pixels, differently each time.
bool runsFit(const ByteReader& dib, std::int32_t storedHeight)
{
    const std::uint32_t compression = *dib.u32(16);
    if (compression != kBiRle8 && compression != kBiRle4) return true;
    return storedHeight > 0 && *dib.u16(14) == (compression == kBiRle8 ? 8 : 4);
}

// The info header of a BMP or an icon's image, of which available bytes exist.
// An icon's height counts its colour rows and its mask rows.
DeclaredSize dibSize(std::span<const std::uint8_t> header, std::uint64_t available, bool withMask)
{
    const ByteReader dib(header, false);
    if (!dib.has(0, kDibSizeBytes)) return {Kind::Truncated};
    const std::uint32_t infoSize = *dib.u32(0);
    if (infoSize > available) return {Kind::Truncated};
    const int stackedImages = withMask ? 2 : 1;
    // The old core header has 16-bit sides; every later one signed 32-bit sides,
    // a negative height meaning rows stored top-down.
    if (infoSize == 12) return sized(*dib.u16(4), *dib.u16(6) / stackedImages);
    if (infoSize < 16) return {Kind::Malformed};
    const std::int32_t storedHeight = static_cast<std::int32_t>(*dib.u32(8));
    if (infoSize >= kDibFormatBytes && dib.has(0, kDibFormatBytes) && !runsFit(dib, storedHeight))
        return {Kind::Malformed};
    return sized(static_cast<std::int32_t>(*dib.u32(4)), std::llabs(storedHeight) / stackedImages);
}

DeclaredSize jpegSize(ByteSource& file)
{
    DeclaredSize size{Kind::Malformed};
    const JpegWalk walk = walkJpegSegments(file, [&](const JpegSegment& segment) {
        if (!isFrameHeader(segment.marker)) return true;
        // Precision, then height before width.
        const ByteReader frame(file.view(segment.payload, segment.length));
        if (frame.has(0, 5)) size = sized(*frame.u16(3), *frame.u16(1));
        return false;
    });
    if (walk == JpegWalk::Truncated) return {Kind::Truncated};
    // A scan before any frame header leaves the size unknown to the decoder too.
    return size;
}

// Past an extension's label and its chain of sub-blocks, each led by its length;
// nothing when the chain runs past the end.
std::optional<std::uint64_t> afterGifExtension(ByteSource& file, std::uint64_t offset)
{
    for (offset += 2;;) {
        const std::optional<std::uint8_t> length = ByteReader(file.view(offset, 1)).u8(0);
        if (!length) return std::nullopt;
        offset += 1 + *length;
        if (*length == 0) return offset;
    }
}

// The canvas a decoder fills: the screen, widened to where the first image reaches.
DeclaredSize gifSize(ByteSource& file)
{
    constexpr std::size_t kScreenEnd = 13;
    constexpr std::size_t kImageDescriptorBytes = 10;
    const ByteReader screen(file.view(0, kScreenEnd), false);
    if (!screen.has(0, kScreenEnd)) return {Kind::Truncated};
    const DeclaredSize canvas = sized(*screen.u16(6), *screen.u16(8));
    if (canvas.kind != Kind::Known) return canvas;
    const std::uint8_t flags = *screen.u8(10);
    std::uint64_t offset = kScreenEnd + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0);
    for (;;) {
        const ByteReader block(file.view(offset, kImageDescriptorBytes), false);
        const std::optional<std::uint8_t> introducer = block.u8(0);
        if (!introducer) return {Kind::Truncated};
        if (*introducer == 0x21) {
            const std::optional<std::uint64_t> next = afterGifExtension(file, offset);
            if (!next) return {Kind::Truncated};
            offset = *next;
            continue;
        }
        // The trailer, or anything else, before any image.
        if (*introducer != 0x2C) return {Kind::Malformed};
        if (!block.has(0, kImageDescriptorBytes)) return {Kind::Truncated};
        const DeclaredSize image = sized(*block.u16(5), *block.u16(7));
        if (image.kind != Kind::Known) return image;
        return {Kind::Known, std::max<std::uint32_t>(canvas.width, *block.u16(1) + image.width),
                std::max<std::uint32_t>(canvas.height, *block.u16(3) + image.height)};
    }
}

// ImageWidth (256) and ImageLength (257) of the first IFD, each a SHORT or a LONG.
DeclaredSize tiffSize(ByteSource& file)
{
    constexpr std::size_t kEntryBytes = 12;
    const std::optional<IfdLocation> ifd = firstIfd(file.view(0, 8));
    if (!ifd) return {Kind::Truncated};
    const std::optional<std::uint16_t> count = ByteReader(file.view(ifd->offset, 2), ifd->bigEndian).u16(0);
    if (!count) return {Kind::Truncated};
    const std::vector<std::uint8_t> entries = copyBytes(file, ifd->offset + 2, kEntryBytes * *count);
    if (entries.size() < kEntryBytes * *count) return {Kind::Truncated};
    std::optional<std::uint32_t> sides[2];
    for (std::size_t entry = 0; entry < entries.size(); entry += kEntryBytes) {
        const ByteReader field(std::span<const std::uint8_t>(entries).subspan(entry, kEntryBytes), ifd->bigEndian);
        const std::uint16_t tag = *field.u16(0), type = *field.u16(2);
        if ((tag != 256 && tag != 257) || (type != 3 && type != 4) || *field.u32(4) == 0) continue;
        // Up to four bytes of values sit in the entry itself, longer ones at an offset.
        const bool inside = *field.u32(4) <= (type == 3 ? 2u : 1u);
        const ByteReader value = inside ? field : ByteReader(file.view(*field.u32(8), 4), ifd->bigEndian);
        const std::size_t at = inside ? 8 : 0;
        sides[tag - 256] = type == 3 ? std::optional<std::uint32_t>(value.u16(at)) : value.u32(at);
        if (!sides[tag - 256]) return {Kind::Truncated};
    }
    // Without them the decoder decides, and its frame's size is checked then.
    if (!sides[0] || !sides[1]) return {Kind::Unknown};
    return sized(*sides[0], *sides[1]);
}

DeclaredSize iconImageSize(ByteSource& file, std::uint64_t offset, std::uint32_t length)
{
    const std::span<const std::uint8_t> data = file.view(offset, std::min<std::size_t>(length, kPngHeaderBytes));
    if (isPng(data)) return pngSize(data);
    return dibSize(data, length, true);
}

// Every entry of the directory counts: which image a decoder hands out as the
// first frame is its own choice. Gives the first beyond the limits, else the largest.
DeclaredSize iconSize(ByteSource& file)
{
    const ByteReader header(file.view(0, 6), false);
    if (!header.has(0, 6)) return {Kind::Truncated};
    const std::uint16_t count = *header.u16(4);
    // A true-colour TGA begins with the same four bytes, its empty colour map where the count would be.
    if (count == 0) return {Kind::Unknown};
    // Copied, since reading the images moves the file's window.
    const std::vector<std::uint8_t> directory = copyBytes(file, 6, kIcoDirectoryEntryBytes * count);
    if (directory.size() < kIcoDirectoryEntryBytes * count) return {Kind::Truncated};
    const ByteReader entries(directory, false);
    DeclaredSize largest{Kind::Known};
    for (std::size_t entry = 0; entry < directory.size(); entry += kIcoDirectoryEntryBytes) {
        const DeclaredSize image = iconImageSize(file, *entries.u32(entry + 12), *entries.u32(entry + 8));
        if (image.kind != Kind::Known || exceedsSizeLimits(image.width, image.height)) return image;
        if (std::uint64_t{image.width} * image.height > std::uint64_t{largest.width} * largest.height) largest = image;
    }
    return largest;
}
}  // namespace

DeclaredSize declaredSize(ByteSource& file)
{
    const std::span<const std::uint8_t> start = file.view(0, 8);
    const ByteReader magic(start, false);
    if (isPng(start)) return pngSize(file.view(0, kPngHeaderBytes));
    if (magic.matches(0, "\xFF\xD8")) return jpegSize(file);
    if (magic.matches(0, "GIF87a") || magic.matches(0, "GIF89a")) return gifSize(file);
    if (magic.matches(0, "BM")) {
        const std::uint64_t afterFileHeader = file.size() - std::min<std::uint64_t>(file.size(), kBmpFileHeaderBytes);
        return dibSize(file.view(kBmpFileHeaderBytes, kDibFormatBytes), afterFileHeader, false);
    }
    if (magic.matches(0, std::string_view("II*\0", 4)) || magic.matches(0, std::string_view("MM\0*", 4)))
        return tiffSize(file);
    if (magic.u16(0) == 0 && (magic.u16(2) == 1 || magic.u16(2) == 2)) return iconSize(file);
    return {Kind::Unknown};
}

bool exceedsPixelLimit(std::uint64_t width, std::uint64_t height)
{
    return width * height > kMaxPixels;
}

bool exceedsSizeLimits(std::uint64_t width, std::uint64_t height)
{
    return width > kMaxDecodedSide || height > kMaxDecodedSide || exceedsPixelLimit(width, height);
}

HeaderVerdict headerVerdict(ByteSource& file)
{
    const DeclaredSize size = declaredSize(file);
    switch (size.kind) {
    case Kind::Unknown:
        return HeaderVerdict::Decodable;
    case Kind::Known:
        return exceedsSizeLimits(size.width, size.height) ? HeaderVerdict::TooLarge : HeaderVerdict::Decodable;
    case Kind::Truncated:
    case Kind::Malformed:
        break;
    }
    return HeaderVerdict::Broken;
}

HeaderVerdict readHeaderVerdict(const std::wstring& path)
{
    FileSource file(path);
    return headerVerdict(file);
}

std::vector<std::uint8_t> readFileHeader(const std::wstring& path)
{
    FileSource file(path);
    std::vector<std::uint8_t> header = compactJpegHeader(file);
    if (!header.empty()) return header;
    return copyBytes(file, 0, kFirstRead);
}
