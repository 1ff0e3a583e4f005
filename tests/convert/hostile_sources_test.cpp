// Files no one here made, added and run: crafted headers count as the decoder
// sees them, a size beyond the limits is refused in every format before any
// decoder opens it, and the process lives through all of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "convert/encoder_lookup.h"
#include "convert/transcode.h"
#include "imagelist/image_list.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

HRESULT runToPng(const ImageEntry& entry, PixelSize target, const std::wstring& output)
{
    GUID png{};
    EXPECT_TRUE(findEncoder(L".png", png));
    return transcodeImageToSize(entry, target, output, png, L".png", 85);
}

TEST(HostileSources, CraftedHeadersAreAddedAndRunAsTheDecoderSeesThem)
{
    TempFolder folder;
    ASSERT_EQ(writeTestImage(folder.file(L"a.jpg"), GUID_ContainerFormatJpeg, 16, 12, GUID_WICPixelFormat24bppBGR), S_OK);
    ASSERT_EQ(writeTestImage(folder.file(L"a.bmp"), GUID_ContainerFormatBmp, 16, 12, GUID_WICPixelFormat24bppBGR), S_OK);
    const std::string jpeg = readFileBytes(folder.file(L"a.jpg")), bmp = readFileBytes(folder.file(L"a.bmp"));
    // More than 16 MB of metadata before the frame header, in segments as long as they come.
    std::string metadata;
    for (int i = 0; i < 260; ++i) metadata += "\xFF\xE3\xFF\xFF" + std::string(65533, static_cast<char>(i));
    std::vector<std::pair<std::wstring, std::string>> files = {
        {L"top-down.bmp", withClaimedSize(bmp, 16, -12u)},
        {L"metadata.jpg", jpeg.substr(0, 2) + metadata + jpeg.substr(2)},
        {L"exif-without-tiff-header.jpg", withExif(jpeg, std::string("II*\0", 4))},
    };
    // An APP1 segment too short for the EXIF signature that follows it: the
    // decoder steps over the rest as stray bytes, and so does the walk.
    const std::string exif = std::string("Exif\0\0", 6) + tiffBytes(false, {{274, 3, 1, 6}});
    for (char length = 2; length <= 6; ++length)
        files.emplace_back(L"app1-" + std::to_wstring(length) + L".jpg",
                           jpeg.substr(0, 2) + std::string("\xFF\xE1\0", 3) + length + exif + jpeg.substr(2));
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(testing::Message() << name);
        writeFileBytes(folder.file(name), bytes);
        ImageEntry entry;
        ASSERT_TRUE(probeImage(folder.file(name), entry));
        EXPECT_EQ(std::tuple(entry.width, entry.height, entry.orientation), std::tuple(16u, 12u, 1));
        EXPECT_EQ(runToPng(entry, {8, 6}, folder.file(name + L".png")), S_OK);
        EXPECT_EQ(readImageFacts(folder.file(name + L".png")).width, 8u);
    }
}

TEST(HostileSources, SizesBeyondTheLimitsAreRefusedInEveryFormatWhenAddedAndInARun)
{
    TempFolder folder;
    ASSERT_EQ(writeTestImage(folder.file(L"a.png"), GUID_ContainerFormatPng, 16, 12, GUID_WICPixelFormat24bppBGR), S_OK);
    const std::pair<const wchar_t*, std::string> files[] = {
        {L"screen-1x1.gif", gifBytes(20000, 15000)},
        {L"huge.tif", tiffBytes(false, {{256, 4, 1, 70000}, {257, 4, 1, 70000}})},
        {L"huge-png.ico", iconBytes({withClaimedSize(readFileBytes(folder.file(L"a.png")), 16500, 16500)}, 0)},
        // Sides as SLONGs, which the TIFF decoder takes and the header reader leaves to it.
        {L"slong.tif", tiffBytes(false, {{256, 9, 1, 70000}, {257, 9, 1, 70000}, {258, 3, 1, 8}, {259, 3, 1, 1},
                                         {262, 3, 1, 1}, {273, 4, 1, 8}, {278, 4, 1, 70000}, {279, 4, 1, 1}})},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(testing::Message() << name);
        writeFileBytes(folder.file(name), bytes);
        ImageEntry entry;
        EXPECT_FALSE(probeImage(folder.file(name), entry));
        EXPECT_EQ(runToPng({folder.file(name), 16, 12, 0}, {64, 64}, folder.file(L"out.png")),
                  WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
        EXPECT_FALSE(std::filesystem::exists(folder.file(L"out.png")));
    }
}

}  // namespace
