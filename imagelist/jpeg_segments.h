// Walks the marker segments of a JPEG stream from its start to its first scan,
// the way decoders find their way through it, without reading past the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "imagelist/byte_source.h"

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

constexpr std::uint8_t kJpegApp1 = 0xE1;
constexpr std::uint8_t kJpegApp2 = 0xE2;

// Calls visit for each segment in order until it returns false. Segment bodies
// are never read here, only stepped over by their lengths.
JpegWalk walkJpegSegments(ByteSource& bytes, const std::function<bool(const JpegSegment&)>& visit);
JpegWalk walkJpegSegments(std::span<const std::uint8_t> bytes, const std::function<bool(const JpegSegment&)>& visit);

// SOF0-SOF15: the segments that declare the frame's size (DHT, JPG and DAC share the range).
bool isFrameHeader(std::uint8_t marker);

// An APP1 payload that begins with the EXIF signature "Exif\0\0".
bool isExifPayload(std::uint8_t marker, std::span<const std::uint8_t> payload);
inline constexpr std::size_t kExifSignatureLength = 6;
