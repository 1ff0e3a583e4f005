// Files no one here made, added and run: crafted headers and EXIF blocks count
// as the decoder sees them, a size beyond the limits is refused in every format
// before any decoder opens it, and the process lives through all of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "imagelist/image_list.h"
#include "support/hostile_files.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

TEST(HostileSources, CraftedHeadersAreAddedAndRunAsTheDecoderSeesThem)
{
    TempFolder folder;
    // A 16 x 12 photo stored on its side (orientation 6), a PNG, a BMP.
    const std::vector<Seed> seeds = seedImages(folder);
    const std::string jpeg = seeds[0].bytes, soi = jpeg.substr(0, 2);
    // More than 16 MB of metadata before the EXIF block and the frame header, in segments as long as they come.
    std::string metadata;
    for (int i = 0; i < 260; ++i) metadata += "\xFF\xE3\xFF\xFF" + std::string(65533, static_cast<char>(i));
    std::vector<std::tuple<std::wstring, std::string, std::uint16_t>> files = {
        {L"top-down.bmp", withClaimedSize(seeds[3].bytes, 16, -12u), 1},
        {L"metadata.jpg", soi + metadata + jpeg.substr(2), 6},
        {L"exif-without-tiff-header.jpg", withExif(jpeg, std::string("II*\0", 4)), 1},
        // Malformed, so 1: for this count Wine's IFD reader would write far past its buffer.
        {L"count.jpg", withExif(jpeg, tiffBytes(true, {{274, 3, 0x80000001, 8}})), 1},
    };
    // Each orientation, little-endian in 1.jpg to 8.jpg, big-endian in 11.jpg to 18.jpg.
    for (std::uint16_t value = 1; value <= 8; ++value)
        for (const bool mm : {false, true})
            files.emplace_back(std::to_wstring(value + 10 * mm) + L".jpg",
                               withExif(jpeg, tiffBytes(mm, {{274, 3, 1, value}})), value);
    // An APP1 segment too short for the EXIF signature that follows it: the
    // decoder steps over the rest as stray bytes, and so does the walk.
    const std::string exif = std::string("Exif\0\0", 6) + tiffBytes(false, {{274, 3, 1, 3}});
    for (char length = 2; length <= 6; ++length)
        files.emplace_back(L"app1-" + std::to_wstring(length) + L".jpg",
                           soi + std::string("\xFF\xE1\0", 3) + length + exif + jpeg.substr(2), 6);
    for (const auto& [name, bytes, orientation] : files) {
        SCOPED_TRACE(testing::Message() << name);
        writeFileBytes(folder.file(name), bytes);
        ImageEntry entry;
        ASSERT_TRUE(probeImage(folder.file(name), entry));
        const std::uint32_t width = orientation >= 5 ? 12 : 16;
        EXPECT_EQ(std::tuple(entry.width, entry.height, entry.orientation), std::tuple(width, 28 - width, orientation));
        EXPECT_EQ(convertImage(entry, {width / 2, 14 - width / 2}, folder.file(name + L".png"), L".png"), S_OK);
        EXPECT_EQ(readImageFacts(folder.file(name + L".png")).width, width / 2);
        // Nothing the pipeline built still holds the source open.
        EXPECT_TRUE(DeleteFileW(folder.file(name).c_str()));
    }
}

TEST(HostileSources, SizesBeyondTheLimitsAreRefusedInEveryFormatWhenAddedAndInARun)
{
    TempFolder folder;
    const std::vector<Seed> seeds = seedImages(folder);
    const std::pair<const wchar_t*, std::string> files[] = {
        {L"screen-1x1.gif", gifBytes(20000, 15000)},
        {L"huge.tif", tiffBytes(false, {{256, 4, 1, 70000}, {257, 4, 1, 70000}})},
        {L"huge-png.ico", iconBytes({withClaimedSize(seeds[1].bytes, 16500, 16500)}, 0)},
        // Sides as SLONGs, which the TIFF decoder takes and the header reader leaves to it.
        {L"slong.tif", tiffBytes(false, {{256, 9, 1, 70000}, {257, 9, 1, 70000}, {258, 3, 1, 8}, {259, 3, 1, 1},
                                         {262, 3, 1, 1}, {273, 4, 1, 8}, {278, 4, 1, 70000}, {279, 4, 1, 1}})},
        // In a run, as if changed since it was added.
        {L"huge.jpg", withClaimedSize(seeds[0].bytes, 65000, 65000)},
    };
    const std::wstring output = folder.file(L"out.png");
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(testing::Message() << name);
        writeFileBytes(folder.file(name), bytes);
        ImageEntry entry;
        EXPECT_FALSE(probeImage(folder.file(name), entry));
        EXPECT_EQ(convertImage({folder.file(name), 16, 12, 0}, {64, 64}, output, L".png"),
                  WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    }
    // One row more than 2^28 pixels, as a percentage or fixed size can ask of a small source.
    writeFileBytes(folder.file(L"small.jpg"), seeds[0].bytes);
    EXPECT_EQ(convertImage({folder.file(L"small.jpg"), 16, 12, 0}, {16384, 16385}, output, L".png"),
              WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
