// Colour-managed test files: ICC profiles built from published colorants and
// curves, and the places files keep them, JPEG APP2 segments and PNG iCCP.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// XYZ (D50) of the red, green and blue colorants, as the spaces' profiles store them.
using Colorants = std::array<std::array<double, 3>, 3>;
inline constexpr Colorants kSrgbColorants{
    {{0.4360747, 0.2225045, 0.0139322}, {0.3850649, 0.7168786, 0.0971045}, {0.1430804, 0.0606169, 0.7141733}}};
inline constexpr Colorants kAdobeRgbColorants{
    {{0.6097412, 0.3111114, 0.0194702}, {0.2052765, 0.6256714, 0.0608673}, {0.1491852, 0.0632172, 0.7445679}}};
inline constexpr Colorants kDisplayP3Colorants{
    {{0.5151215, 0.2411957, -0.0010529}, {0.2919769, 0.6922455, 0.0418854}, {0.1571045, 0.0665741, 0.7846222}}};
inline constexpr Colorants kProPhotoColorants{
    {{0.7976685, 0.2880402, 0.0}, {0.1351929, 0.7118835, 0.0}, {0.0313416, 0.0000916, 0.8249054}}};

std::string curvTag(const std::vector<std::uint16_t>& entries);
std::string paraTag(std::uint16_t function, const std::vector<double>& parameters);
// The sRGB curve as parametric function 3.
std::string srgbParaTag();

using IccTags = std::vector<std::pair<std::string, std::string>>;
// A display profile for "RGB " or "GRAY" data, XYZ connection space, of version 2 or 4.
std::string iccProfile(std::string_view space, int version, const IccTags& tags);
// Matrix/TRC profile with one curve for all three channels.
std::string rgbProfile(const Colorants& colorants, const std::string& curve, int version = 2);

// An APP2 "ICC_PROFILE" segment holding chunk as number sequence of total.
std::string iccSegment(int sequence, int total, std::string_view chunk);
// jpeg with the segments right after its start-of-image marker.
std::string withSegments(std::string_view jpeg, std::string_view segments);
// jpeg with EXIF whose EXIF IFD holds ColorSpace and whose interoperability
// IFD holds the three-letter index, as cameras write them.
std::string withCameraExif(std::string_view jpeg, std::uint16_t colorSpace, const char* index);
// png with an iCCP chunk holding profile right after its IHDR chunk.
std::string withIccpChunk(std::string_view png, std::string_view profile);
// A PNG of 16-bit RGBA values, row by row, without filters or compression.
std::string rgba64Png(std::uint32_t width, std::uint32_t height, const std::vector<std::uint16_t>& values);
