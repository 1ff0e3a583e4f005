// Where a file keeps its colour profile when the decoder does not hand it out:
// a JPEG's APP2 "ICC_PROFILE" segments, a TIFF's tag 34675, and the EXIF way
// cameras mark Adobe RGB without any profile.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The profile split over a JPEG's APP2 segments, joined by their sequence
// numbers; empty when there is none or any number is missing, doubled or
// inconsistent with the count the segments declare.
std::vector<std::uint8_t> jpegIccProfile(std::span<const std::uint8_t> jpeg);

// The profile of a TIFF's first IFD (tag 34675); empty when it is missing or
// lies outside the bytes given.
std::span<const std::uint8_t> tiffIccProfile(std::span<const std::uint8_t> tiff);

// True when a JPEG's EXIF says ColorSpace "uncalibrated" (0xFFFF) and its
// interoperability index is "R03", the cameras' mark for Adobe RGB (1998).
bool exifMarksAdobeRgb(std::span<const std::uint8_t> jpeg);
