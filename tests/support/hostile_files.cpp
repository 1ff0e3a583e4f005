// Seeds are encoded by WIC, so the mutations start from what real files hold.
#include "support/hostile_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "support/test_files.h"
#include "support/wic_files.h"

std::vector<Seed> seedImages(const TempFolder& folder)
{
    const std::pair<const char*, GUID> kinds[] = {{"jpg", GUID_ContainerFormatJpeg}, {"png", GUID_ContainerFormatPng},
                                                  {"gif", GUID_ContainerFormatGif},  {"bmp", GUID_ContainerFormatBmp},
                                                  {"tif", GUID_ContainerFormatTiff}};
    std::vector<Seed> seeds;
    const auto written = [&](const GUID& container, std::uint32_t width, std::uint32_t height) {
        const std::wstring path = folder.file(L"seed");
        EXPECT_EQ(writeTestImage(path, container, width, height, GUID_WICPixelFormat24bppBGR), S_OK);
        return readFileBytes(path);
    };
    for (const auto& [name, container] : kinds) seeds.push_back({name, written(container, 16, 12)});
    seeds[0].bytes = withExif(seeds[0].bytes, tiffBytes(false, {{274, 3, 1, 6}, {282, 5, 1, 8 + 2 + 12 * 2 + 4}},
                                                        std::string("\x48\0\0\0\1\0\0\0", 8)));
    seeds.push_back({"ico", iconBytes({written(GUID_ContainerFormatPng, 16, 16),
                                       iconDib(written(GUID_ContainerFormatBmp, 16, 16))}, 16)});
    return seeds;
}

std::string mutated(std::string bytes, std::mt19937& random)
{
    // No value, tiny ones, lengths just below what a structure needs, the sign bit and all ones.
    constexpr std::uint32_t kExtremes[] = {0,      1,      2,          5,          6,         0x7F, 0x80, 0xFF,
                                           0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (std::uint32_t edits = 1 + random() % 3; edits > 0 && !bytes.empty(); --edits) {
        const std::size_t span = random() % 2 ? std::min<std::size_t>(bytes.size(), 64) : bytes.size();
        const std::size_t at = random() % span;
        const std::uint32_t kind = random() % 3;
        if (kind == 0) {
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << random() % 8));
        } else if (kind == 1) {
            bytes.resize(at);
        } else {
            const std::uint32_t value = kExtremes[random() % std::size(kExtremes)];
            const std::size_t width = std::size_t{1} << random() % 3;
            const bool bigEndian = random() % 2;
            for (std::size_t i = 0; i < width && at + i < bytes.size(); ++i)
                bytes[at + i] = static_cast<char>(value >> 8 * (bigEndian ? width - 1 - i : i));
        }
    }
    return bytes;
}
