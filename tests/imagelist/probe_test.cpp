// Probing real files: what becomes an entry, what it records, and that no file
// stays open afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "imagelist/image_list.h"
#include "support/wic_files.h"

namespace {

void writeBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file << bytes;
}

std::uint64_t sizeOnDisk(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST(ProbeImage, MultiFrameTiffGivesFrameZerosSize)
{
    TempFolder folder;
    const std::wstring path = folder.file(L"pages.tif");
    // Frames of 800 x 600, 1600 x 1200 and 2400 x 1800.
    ASSERT_EQ(writeTestImage(path, GUID_ContainerFormatTiff, 800, 600, GUID_WICPixelFormat24bppBGR, 3), S_OK);
    ASSERT_EQ(readImageFacts(path).frameCount, 3u);
    ImageEntry entry;
    ASSERT_TRUE(probeImage(path, entry));
    EXPECT_EQ(entry.width, 800u);
    EXPECT_EQ(entry.height, 600u);
}

TEST(ProbeImage, RecordsPathAsPassedAndSizeOnDisk)
{
    TempFolder folder;
    ASSERT_EQ(writeTestImage(folder.file(L"Bild.png"), GUID_ContainerFormatPng, 33, 21,
                             GUID_WICPixelFormat32bppBGRA),
              S_OK);
    // File names are case-insensitive, yet the entry keeps the letters as given.
    std::wstring upper = folder.path();
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return std::towupper(c); });
    const std::wstring asPassed = upper + L"\\bILD.Png";
    ImageEntry entry;
    ASSERT_TRUE(probeImage(asPassed, entry));
    EXPECT_EQ(entry.path, asPassed);
    EXPECT_EQ(entry.width, 33u);
    EXPECT_EQ(entry.height, 21u);
    EXPECT_GT(entry.fileSize, 0u);
    EXPECT_EQ(entry.fileSize, sizeOnDisk(folder.file(L"Bild.png")));
}

TEST(ProbeImage, RefusesWhatNoDecoderOpens)
{
    TempFolder folder;
    const std::wstring photo = folder.file(L"photo.jpg");
    ASSERT_EQ(writeTestImage(photo, GUID_ContainerFormatJpeg, 64, 48, GUID_WICPixelFormat24bppBGR), S_OK);
    std::ifstream source(std::filesystem::path(photo), std::ios::binary);
    const std::string jpeg{std::istreambuf_iterator<char>(source), std::istreambuf_iterator<char>()};
    ASSERT_GT(jpeg.size(), 400u);

    writeBytes(folder.file(L"text.jpg"), "Dies ist kein Bild, nur Text.\r\n");
    writeBytes(folder.file(L"empty.png"), "");
    // Cut inside the headers, before the frame size is written.
    writeBytes(folder.file(L"truncated.jpg"), jpeg.substr(0, 100));
    for (const wchar_t* name : {L"text.jpg", L"empty.png", L"truncated.jpg", L"missing.jpg"}) {
        SCOPED_TRACE(testing::Message() << name);
        ImageEntry entry;
        EXPECT_FALSE(probeImage(folder.file(name), entry));
    }
}

TEST(ProbeImage, LeavesNoFileOpen)
{
    TempFolder folder;
    const std::wstring image = folder.file(L"photo.jpg");
    const std::wstring text = folder.file(L"text.jpg");
    ASSERT_EQ(writeTestImage(image, GUID_ContainerFormatJpeg, 64, 48, GUID_WICPixelFormat24bppBGR), S_OK);
    writeBytes(text, "kein Bild");
    ImageEntry entry;
    ASSERT_TRUE(probeImage(image, entry));
    ImageEntry refused;
    ASSERT_FALSE(probeImage(text, refused));
    // A file still held by a decoder could not be deleted.
    EXPECT_TRUE(DeleteFileW(image.c_str()));
    EXPECT_TRUE(DeleteFileW(text.c_str()));
}

}  // namespace
