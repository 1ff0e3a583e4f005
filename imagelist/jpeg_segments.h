// Walks the marker segments of a JPEG stream from its start to its first scan,
// the way decoders find their way through it, without reading past the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

struct JpegSegment {
    std::uint8_t marker = 0;
    std::size_t payload = 0;  // offset of the bytes after the length field
    std::size_t length = 0;   // number of those bytes
};

enum class JpegWalk {
    NotJpeg,      // no start-of-image marker
    Stopped,      // the visitor asked to stop
    ReachedScan,  // every segment before the first scan was visited
    Truncated,    // a segment or the marker chain runs past the end of the bytes
    Malformed,    // a length below 2, or an image that ends before its first scan
};

// Calls visit for each segment in order until it returns false.
JpegWalk walkJpegSegments(std::span<const std::uint8_t> bytes, const std::function<bool(const JpegSegment&)>& visit);
