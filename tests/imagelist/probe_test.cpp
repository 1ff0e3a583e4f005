// Probing real files: what becomes an entry, what it records, that no file
// stays open afterwards, and that a header declaring a size no decoder could
// survive is refused before any decoder sees it.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "imagelist/declared_size.h"
#include "imagelist/image_list.h"
#include "support/hostile_files.h"
#include "support/test_files.h"
#include "support/wic_files.h"

TEST(ProbeImage, RecordsFrameZerosSizeAndLeavesTheFileClosed)
{
    TempFolder folder;
    const std::wstring path = folder.file(L"Seiten.tif");
    // Frames of 80 x 60, 160 x 120 and 240 x 180.
    ASSERT_EQ(writeTestImage(path, GUID_ContainerFormatTiff, 80, 60, GUID_WICPixelFormat24bppBGR, 3), S_OK);
    ASSERT_EQ(readImageFacts(path).frameCount, 3u);
    ImageEntry entry;
    ASSERT_TRUE(probeImage(path, entry));
    EXPECT_EQ(std::tuple(entry.width, entry.height), std::tuple(80u, 60u));
    // A file still held by a decoder could not be deleted.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

// Under Wine a decoder opening a header that claims 65000 x 65000 pixels
// allocates the whole image and faults, so those never reach one.
TEST(ProbeImage, RefusesWhatNoDecoderOpensOrWhatClaimsAHugeOrBrokenSizeAndLeavesItClosed)
{
    TempFolder folder;
    const std::vector<Seed> seeds = seedImages(folder);
    const std::string jpeg = seeds[0].bytes, png = seeds[1].bytes;
    std::vector<std::pair<std::wstring, std::string>> refused = {
        {L"text.jpg", "Dies ist kein Bild, nur Text.\r\n"}, {L"empty.png", ""},
        // Cut inside the headers, before the frame size is written.
        {L"truncated.jpg", jpeg.substr(0, 100)}};
    // A JPEG, PNG, GIF and BMP claiming a size far beyond the limits.
    for (int i = 0; i < 4; ++i)
        refused.emplace_back(L"huge." + std::wstring(seeds[i].name, seeds[i].name + 3),
                             withClaimedSize(seeds[i].bytes, 65000, 65000));
    for (const auto& [name, bytes] : refused) {
        SCOPED_TRACE(testing::Message() << name);
        writeFileBytes(folder.file(name), bytes);
        ImageEntry entry;
        EXPECT_FALSE(probeImage(folder.file(name), entry));
        EXPECT_TRUE(DeleteFileW(folder.file(name).c_str()));
    }
    ImageEntry missing;
    EXPECT_FALSE(probeImage(folder.file(L"missing.jpg"), missing));
    // Bytes, how many of them the reader is given (the rest would tell it more), verdict.
    const std::tuple<const char*, std::string, std::size_t, HeaderVerdict> cases[] = {
        {"a side above 65535", withClaimedSize(png, 70000, 1), SIZE_MAX, HeaderVerdict::TooLarge},
        {"just above 2^28 pixels", withClaimedSize(png, 16385, 16384), SIZE_MAX, HeaderVerdict::TooLarge},
        {"2^28 pixels", withClaimedSize(png, 16384, 16384), SIZE_MAX, HeaderVerdict::Decodable},
        {"a zero side", withClaimedSize(png, 0, 12), SIZE_MAX, HeaderVerdict::Broken},
        {"IHDR cut short", png, 20, HeaderVerdict::Broken},
        {"a frame header cut short", jpeg, jpeg.find("\xFF\xC0") + 6, HeaderVerdict::Broken},
        {"a segment length below 2", jpeg.substr(0, 4) + '\0' + '\1' + jpeg.substr(6), SIZE_MAX, HeaderVerdict::Broken},
    };
    for (const auto& [what, text, visible, verdict] : cases) {
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        MemorySource source(std::span<const std::uint8_t>(bytes).first(std::min(visible, bytes.size())));
        EXPECT_EQ(headerVerdict(source), verdict) << what;
    }
    // Metadata longer than the first read is read past to the frame header.
    const std::wstring path = folder.file(L"long.jpg");
    writeFileBytes(path, withExif(withExif(jpeg, std::string(65000, 'x')), std::string(65000, 'x')));
    ImageEntry entry;
    EXPECT_TRUE(probeImage(path, entry));
    writeFileBytes(path, withClaimedSize(readFileBytes(path), 65000, 65000));
    EXPECT_FALSE(probeImage(path, entry));
}
