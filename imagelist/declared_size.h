// The pixel size a file's header declares, read from its first bytes before any
// decoder sees it, and the limits above which a file or a target is refused.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct DeclaredSize {
    enum class Kind {
        Unknown,    // not PNG, JPEG, GIF or BMP: the decoder decides
        Known,      // width and height as the header declares them
        Truncated,  // the header runs past the end of the bytes
        Malformed,  // a zero side, or a header that cannot be walked
    };
    Kind kind = Kind::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// From PNG's IHDR, the JPEG frame header, GIF's screen descriptor or BMP's info header.
DeclaredSize declaredSize(std::span<const std::uint8_t> header);

// More than 2^28 pixels: decoding or encoding it would exhaust the process.
bool exceedsPixelLimit(std::uint64_t width, std::uint64_t height);

enum class HeaderVerdict { Decodable, TooLarge, Broken };
// TooLarge beyond 2^28 pixels or a side above 65535; Broken when truncated or malformed.
HeaderVerdict headerVerdict(std::span<const std::uint8_t> header);

// The first 64 KB of a file, or more when a JPEG's segments before its frame
// header need it (at most 16 MB); empty when the file cannot be read.
std::vector<std::uint8_t> readFileHeader(const std::wstring& path);
