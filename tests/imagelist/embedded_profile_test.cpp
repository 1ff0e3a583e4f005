// Finding a profile in a file's bytes: APP2 segments joined by their sequence
// numbers, TIFF's tag 34675, and the EXIF mark cameras give Adobe RGB. The
// header fuzz test feeds them mutated files too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagelist/embedded_profile.h"
#include "support/colour_files.h"
#include "support/test_files.h"

namespace {

std::string joined(const std::string& segments)
{
    // Start of image, the segments, a frame header and the start of the scan.
    const std::string jpeg = withSegments(std::string("\xFF\xD8\xFF\xC0\x00\x05\x08\x00\x01\xFF\xDA", 11), segments);
    const std::vector<std::uint8_t> profile = jpegIccProfile(bytesOf(jpeg));
    return std::string(profile.begin(), profile.end());
}

TEST(JpegIccProfile, JoinsCompleteSequencesOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {iccSegment(1, 1, "whole"), "whole"},
        {iccSegment(2, 3, "b") + iccSegment(1, 3, "a") + iccSegment(3, 3, "c"), "abc"},
        {"", ""},
        {iccSegment(1, 2, "a"), ""},                                             // truncated sequence
        {iccSegment(1, 2, "a") + iccSegment(1, 2, "b"), ""},                     // a number twice
        {iccSegment(1, 2, "a") + iccSegment(2, 3, "b"), ""},                     // counts disagree
        {iccSegment(0, 1, "a"), ""},                                             // numbers start at 1
        {iccSegment(2, 1, "a"), ""},                                             // beyond the count
        {iccSegment(1, 2, "a") + iccSegment(2, 2, ""), ""},                      // an empty chunk
        {"\xFF\xE2" + std::string("\x00\x0A", 2) + "ICC_PRO\x01\x01", ""},      // too short to be one
    };
    for (const auto& [segments, profile] : cases) EXPECT_EQ(joined(segments), profile) << &segments - &cases[0].first;
}

TEST(TiffIccProfile, TakesTag34675OfTheFirstIfdWhenItLiesInside)
{
    // The profile follows a one-entry IFD: 8 + 2 + 12 + 4 = 26.
    for (const bool bigEndian : {false, true}) {
        const std::string tiff = tiffBytes(bigEndian, {{34675, 7, 7, 26}}, "profile");
        const std::span<const std::uint8_t> found = tiffIccProfile(bytesOf(tiff));
        EXPECT_EQ(std::string(found.begin(), found.end()), "profile");
    }
    EXPECT_TRUE(tiffIccProfile(bytesOf(tiffBytes(false, {{34675, 7, 8, 26}}, "profile"))).empty());
    EXPECT_TRUE(tiffIccProfile(bytesOf(tiffBytes(false, {{34675, 7, 7, 0xFFFFFFF0}}, "profile"))).empty());
}

TEST(ExifMarksAdobeRgb, OnlyUncalibratedWithIndexR03)
{
    // Camera EXIF with this ColorSpace and interoperability index, cut after so many bytes.
    const auto marked = [](std::uint16_t colorSpace, const char* index, std::size_t length = std::string::npos) {
        return exifMarksAdobeRgb(bytesOf(withCameraExif("\xFF\xD8\xFF\xDA", colorSpace, index).substr(0, length)));
    };
    EXPECT_TRUE(marked(0xFFFF, "R03"));
    EXPECT_FALSE(marked(0xFFFF, "R98"));
    EXPECT_FALSE(marked(1, "R03"));
    EXPECT_FALSE(marked(0xFFFF, "R03", 60));
}

}  // namespace
