// The header and EXIF parsers on real files, crafted headers and thousands of
// deterministic mutations, the first of them probed by the decoders too: nothing
// crashes, hangs or reads outside the bytes given (a build of this file with
// checked containers asserts every access), and a JPEG's compacted header tells
// what the whole file tells.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "imagelist/byte_reader.h"
#include "imagelist/declared_size.h"
#include "imagelist/embedded_profile.h"
#include "imagelist/exif_orientation.h"
#include "imagelist/image_list.h"
#include "imagelist/jpeg_header.h"
#include "imagelist/orientation_reader.h"
#include "support/colour_files.h"
#include "support/hostile_files.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
using Kind = DeclaredSize::Kind;

std::tuple<Kind, std::uint32_t, std::uint32_t> sizeOf(const std::string& bytes)
{
    MemorySource file(bytesOf(bytes));
    const DeclaredSize size = declaredSize(file);
    return {size.kind, size.width, size.height};
}

// What the orientation reader checks before WIC's IFD reader sees a TIFF part.
bool ifdAccepted(std::span<const std::uint8_t> tiff)
{
    const std::optional<IfdLocation> ifd = firstIfd(tiff);
    return ifd && ifdValuesInBounds(ByteReader(tiff).from(ifd->offset), ifd->bigEndian, tiff.size());
}

// What the profile finders take from a file is made of its bytes, never more; counts what they found.
int profilesFound(std::span<const std::uint8_t> bytes)
{
    const std::vector<std::uint8_t> joined = jpegIccProfile(bytes);
    const std::span<const std::uint8_t> tagged = tiffIccProfile(bytes);
    EXPECT_LE(joined.size(), bytes.size());
    EXPECT_TRUE(tagged.empty() || tagged.data() + tagged.size() <= bytes.data() + bytes.size());
    return !joined.empty() + exifMarksAdobeRgb(bytes) + !tagged.empty();
}

TEST(DeclaredSize, OfRealFilesAndCraftedHeadersOfEveryFormatRead)
{
    TempFolder folder;
    const std::vector<Seed> seeds = seedImages(folder);
    for (const Seed& seed : seeds)
        EXPECT_EQ(sizeOf(seed.bytes), std::tuple(Kind::Known, 16u, seed.name == std::string("ico") ? 16u : 12u))
            << seed.name;
    const std::string png = seeds[1].bytes, bmp = seeds[3].bytes;
    const std::string rle8 = bmp.substr(0, 28) + std::string("\x08\0\1", 3) + bmp.substr(31);
    const std::tuple<const char*, std::string, Kind, std::uint32_t, std::uint32_t> cases[] = {
        {"a top-down BMP", withClaimedSize(bmp, 16, -12u), Kind::Known, 16, 12},
        {"runs of 8 bits in a deeper BMP", bmp.substr(0, 30) + '\1' + bmp.substr(31), Kind::Malformed, 0, 0},
        {"runs of 8 bits", rle8, Kind::Known, 16, 12},
        {"a top-down BMP of runs", withClaimedSize(rle8, 16, -12u), Kind::Malformed, 0, 0},
        {"a GIF image past its screen", gifBytes(20000, 15000), Kind::Known, 20000, 15000},
        {"a GIF without an image", gifBytes(1, 1).substr(0, 27) + ";", Kind::Malformed, 0, 0},
        {"a GIF extension cut short", gifBytes(1, 1).substr(0, 24), Kind::Truncated, 0, 0},
        {"TIFF LONG sides", tiffBytes(false, {{256, 4, 1, 70000}, {257, 4, 1, 70000}}), Kind::Known, 70000, 70000},
        {"TIFF SHORT sides", tiffBytes(true, {{257, 3, 1, 12}, {256, 3, 1, 16}}), Kind::Known, 16, 12},
        {"TIFF without sides", tiffBytes(true, {{274, 3, 1, 6}}), Kind::Unknown, 0, 0},
        {"TIFF cut in its IFD", tiffBytes(true, {{256, 3, 1, 16}}).substr(0, 20), Kind::Truncated, 0, 0},
        {"an icon's second image", iconBytes({png, withClaimedSize(png, 16500, 16500)}, 0), Kind::Known, 16500, 16500},
        {"an icon image past the end", iconBytes({png}, 16).substr(0, 40), Kind::Truncated, 0, 0},
        {"an icon without images, or a TGA", iconBytes({}, 16), Kind::Unknown, 0, 0},
        {"an IHDR of 12 bytes", png.substr(0, 11) + '\x0C' + png.substr(12), Kind::Malformed, 0, 0},
    };
    for (const auto& [what, bytes, kind, width, height] : cases)
        EXPECT_EQ(sizeOf(bytes), std::tuple(kind, width, height)) << what;
}

TEST(ExifOrientation, BlocksThatCannotHoldWhatTheyMustAreMalformed)
{
    const auto part = [](const std::string& bytes) {
        const std::span<const std::uint8_t> tiff = exifTiffPart(bytesOf(bytes));
        return std::string(tiff.begin(), tiff.end());
    };
    const std::string jpeg = "\xFF\xD8\xFF\xDA", tiff = tiffBytes(true, {{274, 3, 1, 6}});
    // A segment shorter than the signature it is followed by is none.
    const std::string app1 = std::string("\xFF\xD8\xFF\xE1\0", 5), signature = std::string("Exif\0\0", 6);
    for (const char length : {2, 3, 4, 5, 6}) EXPECT_EQ(part(app1 + length + signature + tiff), "") << +length;
    EXPECT_EQ(part(withExif(withExif(jpeg, tiff), tiff.substr(0, 7))), "");
    EXPECT_EQ(part(withExif(jpeg, tiff)), tiff);
    // Three SHORTs (six bytes) at an offset: at the very end of the block, then one byte past it.
    const std::string values = tiffBytes(false, {{274, 3, 3, 26}}, "123456");
    EXPECT_TRUE(ifdAccepted(bytesOf(values)));
    EXPECT_FALSE(ifdAccepted(bytesOf(values).first(values.size() - 1)));
}

TEST(HeaderFuzz, MutatedFilesNeverCrashHangOrReadOutsideAndCompactJpegHeadersTellTheSame)
{
    TempFolder folder;
    std::mt19937 random(20261207);
    std::vector<Seed> seeds = seedImages(folder);
    // And files with profiles to find: APP2 chunks, TIFF's tag 34675, the EXIF mark of Adobe RGB.
    seeds.push_back({"icc", withSegments(seeds[0].bytes, iccSegment(1, 2, "first") + iccSegment(2, 2, "next"))});
    seeds.push_back({"cam", withCameraExif(seeds[0].bytes, 0xFFFF, "R03")});
    seeds.push_back({"tag", tiffBytes(true, {{34675, 7, 7, 26}}, "profile")});
    std::size_t refused = 0, compacted = 0, added = 0, found = 0;
    for (const Seed& seed : seeds) {
        const std::wstring path = folder.file(L"mutated." + std::wstring(seed.name, seed.name + 3));
        for (int i = 0; i < 2000; ++i) {
            const std::string mutation = mutated(seed.bytes, random);
            // An exact copy, so that a read past the end leaves the allocation.
            const std::vector<std::uint8_t> bytes(mutation.begin(), mutation.end());
            MemorySource file(bytes);
            const HeaderVerdict verdict = headerVerdict(file);
            refused += verdict != HeaderVerdict::Decodable;
            const std::span<const std::uint8_t> exif = exifTiffPart(bytes);
            static_cast<void>(ifdAccepted(exif.empty() ? std::span(bytes) : exif));
            found += profilesFound(bytes);
            // The first ones reach the decoders too, and what they open the orientation reader:
            // from the file for a TIFF, from the header's copy for a JPEG; also where a decoder refuses.
            if (i < 80) {
                writeFileBytes(path, mutation);
                ImageEntry entry;
                added += probeImage(path, entry);
                const std::uint16_t orientation = readOrientation(path, readFileHeader(path));
                EXPECT_TRUE(orientation >= 1 && orientation <= 8);
            }
            const std::vector<std::uint8_t> compact = compactJpegHeader(file);
            if (compact.empty()) continue;
            ++compacted;
            MemorySource compactFile(compact);
            EXPECT_EQ(headerVerdict(compactFile), verdict) << seed.name << " mutation " << i;
            EXPECT_TRUE(std::ranges::equal(exifTiffPart(compact), exif)) << seed.name << " mutation " << i;
        }
        // No decoder holds the file any more.
        EXPECT_TRUE(DeleteFileW(path.c_str()));
    }
    // The mutations reach refusals as well as files still read, and the JPEG walk.
    EXPECT_GT(refused, 2000u);
    EXPECT_LT(refused, 10000u);
    EXPECT_GT(compacted, 1800u);
    EXPECT_GT(added, 50u);
    EXPECT_LT(added, 430u);
    EXPECT_GT(found, 1000u);
}

}  // namespace
