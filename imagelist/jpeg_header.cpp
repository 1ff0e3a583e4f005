// Segments are copied whole, marker and length included, so the pure walkers
// read the result exactly as they would read the file.
#include "imagelist/jpeg_header.h"

#include <algorithm>

#include "imagelist/jpeg_segments.h"

namespace {
constexpr std::size_t kMostProfileBytes = 4 * 1024 * 1024;
constexpr std::size_t kMarkerAndLength = 4;
}  // namespace

std::vector<std::uint8_t> compactJpegHeader(ByteSource& jpeg)
{
    std::vector<std::uint8_t> compact = {0xFF, 0xD8};
    bool exifKept = false;
    bool frameKept = false;
    std::size_t profileBytes = 0;
    const JpegWalk walk = walkJpegSegments(jpeg, [&](const JpegSegment& segment) {
        bool keep = false;
        if (segment.marker == kJpegApp2) {
            keep = profileBytes + segment.length <= kMostProfileBytes;
            if (keep) profileBytes += segment.length;
        } else if (segment.marker == kJpegApp1 && !exifKept) {
            const std::size_t signature = std::min(segment.length, kExifSignatureLength);
            keep = exifKept = isExifPayload(segment.marker, jpeg.view(segment.payload, signature));
        } else if (isFrameHeader(segment.marker) && !frameKept) {
            keep = frameKept = true;
        }
        if (keep) {
            const std::span<const std::uint8_t> whole =
                jpeg.view(segment.payload - kMarkerAndLength, segment.length + kMarkerAndLength);
            compact.insert(compact.end(), whole.begin(), whole.end());
        }
        return true;
    });
    if (walk == JpegWalk::NotJpeg) return {};
    if (walk == JpegWalk::ReachedScan) compact.insert(compact.end(), {0xFF, 0xDA});
    if (walk == JpegWalk::Malformed) compact.insert(compact.end(), {0xFF, 0xD9});
    return compact;
}
