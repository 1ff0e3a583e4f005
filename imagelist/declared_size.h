// The pixel size a file's header declares, read before any decoder sees the
// file, and the limits above which a file or a target is refused.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imagelist/byte_source.h"

struct DeclaredSize {
    enum class Kind {
        Unknown,    // a format whose size only its decoder knows
        Known,      // width and height as the header declares them
        Truncated,  // the header runs past the end of the bytes
        Malformed,  // a zero side, or a length that cannot hold what it must
    };
    Kind kind = Kind::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// From PNG's IHDR, the JPEG frame header, BMP's info header, GIF's screen
// widened to its first image, TIFF's first IFD, or the largest image an ICO or
// CUR directory holds (an entry's own PNG or BMP header). Reads only what it needs.
DeclaredSize declaredSize(ByteSource& file);

// More than 2^28 pixels: decoding or encoding it would exhaust the process.
bool exceedsPixelLimit(std::uint64_t width, std::uint64_t height);
// The pixel limit, or a side above 65535.
bool exceedsSizeLimits(std::uint64_t width, std::uint64_t height);

enum class HeaderVerdict { Decodable, TooLarge, Broken };
// TooLarge beyond the size limits; Broken when truncated or malformed.
HeaderVerdict headerVerdict(ByteSource& file);

// The verdict on the file at path; a file that cannot be read is left to the decoder.
HeaderVerdict readHeaderVerdict(const std::wstring& path);

// For a JPEG the compacted header of compactJpegHeader, however much metadata
// comes before its frame; otherwise the first 64 KB. Empty when the file cannot be read.
std::vector<std::uint8_t> readFileHeader(const std::wstring& path);
