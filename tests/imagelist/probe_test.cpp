// Probing real files: what becomes an entry, what it records, and that no file
// stays open afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "imagelist/image_list.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

TEST(ProbeImage, RecordsFrameZerosSizeThePathAsPassedAndTheSizeOnDisk)
{
    TempFolder folder;
    const std::wstring path = folder.file(L"Seiten.tif");
    // Frames of 80 x 60, 160 x 120 and 240 x 180.
    ASSERT_EQ(writeTestImage(path, GUID_ContainerFormatTiff, 80, 60, GUID_WICPixelFormat24bppBGR, 3), S_OK);
    ASSERT_EQ(readImageFacts(path).frameCount, 3u);
    // File names are case-insensitive, yet the entry keeps the letters as given.
    const std::wstring asPassed = folder.file(L"sEITEN.Tif");
    ImageEntry entry;
    ASSERT_TRUE(probeImage(asPassed, entry));
    EXPECT_EQ(entry.path, asPassed);
    EXPECT_EQ(entry.width, 80u);
    EXPECT_EQ(entry.height, 60u);
    EXPECT_EQ(entry.fileSize, std::filesystem::file_size(std::filesystem::path(path)));
    // A file still held by a decoder could not be deleted.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(ProbeImage, RefusesWhatNoDecoderOpensAndLeavesItClosed)
{
    TempFolder folder;
    const std::wstring photo = folder.file(L"photo.jpg");
    ASSERT_EQ(writeTestImage(photo, GUID_ContainerFormatJpeg, 64, 48, GUID_WICPixelFormat24bppBGR), S_OK);
    const std::string jpeg = readFileBytes(photo);
    ASSERT_GT(jpeg.size(), 400u);

    writeFileBytes(folder.file(L"text.jpg"), "Dies ist kein Bild, nur Text.\r\n");
    writeFileBytes(folder.file(L"empty.png"), "");
    // Cut inside the headers, before the frame size is written.
    writeFileBytes(folder.file(L"truncated.jpg"), jpeg.substr(0, 100));
    for (const wchar_t* name : {L"text.jpg", L"empty.png", L"truncated.jpg", L"missing.jpg"}) {
        SCOPED_TRACE(testing::Message() << name);
        ImageEntry entry;
        EXPECT_FALSE(probeImage(folder.file(name), entry));
    }
    EXPECT_TRUE(DeleteFileW(folder.file(L"text.jpg").c_str()));
    EXPECT_TRUE(DeleteFileW(folder.file(L"truncated.jpg").c_str()));
}

}  // namespace
