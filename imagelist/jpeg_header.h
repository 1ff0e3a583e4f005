// The part of a JPEG file that the program reads itself, gathered without
// reading the segments it does not need, however long they are.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelist/byte_source.h"

// A JPEG stream of the start-of-image marker, the first EXIF segment, every APP2
// segment (colour profiles, at most a few MB of them), the first frame header
// and the start-of-scan marker, in file order. A chain that is truncated ends
// there; a malformed one ends in an end-of-image marker, so that walking the
// result tells what walking the file would. Empty when
// the bytes are no JPEG.
std::vector<std::uint8_t> compactJpegHeader(ByteSource& jpeg);
