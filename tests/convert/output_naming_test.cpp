// Output names: the stem rule, and the search for a free name in a real folder
// holding files, a directory and gaps in the numbering.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "convert/output_naming.h"

namespace {

TEST(PathStem, DropsFolderDriveStreamAndExtension)
{
    const struct {
        const wchar_t* path;
        const wchar_t* stem;
    } cases[] = {
        {L"C:\\Fotos\\urlaub.heic", L"urlaub"},
        {L"a.b.png", L"a.b"},
        {L".profile", L".profile"},
        {L"x.", L"x"},
        {L"D:/scans/seite1.Tiff", L"seite1"},
        {L"C:\\mixed/dirs\\bild.jpg", L"bild"},
        {L"C:bild.jpg", L"bild"},
        {L"C:\\daten\\bild.jpg:zone", L"bild"},
        {L"C:\\daten\\.hidden.png", L".hidden"},
        {L"C:\\a.b\\readme", L"readme"},
        {L"\\\\server\\share\\scan.tif", L"scan"},
        {L"C:\\daten\\..", L".."},
        {L"C:\\daten\\...", L".."},
        {L"C:\\daten\\.", L"."},
        {L"C:\\daten\\a", L"a"},
        {L"C:\\daten\\", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(pathStem(c.path), c.stem) << c.path;
}

// A fresh folder under the user's temporary folder, removed with all it holds.
class UniqueOutputPathTest : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
        static unsigned sequence = 0;
        folder_ = std::wstring(temp) + L"lumora-naming-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++sequence);
        ASSERT_TRUE(std::filesystem::create_directory(folder_));
    }

    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        EXPECT_FALSE(ec) << ec.message();
    }

    std::wstring inFolder(const std::wstring& name) const { return folder_ + L"\\" + name; }

    void createFile(const std::wstring& name) const
    {
        std::ofstream(std::filesystem::path(inFolder(name))) << "x";
        ASSERT_TRUE(std::filesystem::is_regular_file(inFolder(name)));
    }

    std::wstring folder_;
};

TEST_F(UniqueOutputPathTest, EmptyFolderGivesTheStemWithTheNewExtension)
{
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.heic", L".jpg"), inFolder(L"urlaub.jpg"));
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.jpg", L".jfif"), inFolder(L"urlaub.jfif"));
}

TEST_F(UniqueOutputPathTest, CountsUpFromTwoAndFillsGaps)
{
    createFile(L"urlaub.jpg");
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.heic", L".jpg"), inFolder(L"urlaub (2).jpg"));

    createFile(L"urlaub (2).jpg");
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.heic", L".jpg"), inFolder(L"urlaub (3).jpg"));

    // Another extension is another name.
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.heic", L".png"), inFolder(L"urlaub.png"));
}

TEST_F(UniqueOutputPathTest, GapInTheNumberingIsFilled)
{
    createFile(L"urlaub.jpg");
    createFile(L"urlaub (3).jpg");
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.heic", L".jpg"), inFolder(L"urlaub (2).jpg"));
}

TEST_F(UniqueOutputPathTest, DirectoryTakesTheNameLikeAFile)
{
    createFile(L"urlaub.jpg");
    ASSERT_TRUE(std::filesystem::create_directory(inFolder(L"urlaub (2).jpg")));
    createFile(L"urlaub (4).jpg");
    EXPECT_EQ(uniqueOutputPath(folder_, L"C:\\Fotos\\urlaub.heic", L".jpg"), inFolder(L"urlaub (3).jpg"));
}

TEST_F(UniqueOutputPathTest, SourceInTheTargetFolderIsNeverOverwritten)
{
    createFile(L"a.jpg");
    EXPECT_EQ(uniqueOutputPath(folder_, inFolder(L"a.jpg"), L".jpg"), inFolder(L"a (2).jpg"));
}

TEST_F(UniqueOutputPathTest, EarlierOutputsOfARunCountAsTaken)
{
    const std::wstring first = uniqueOutputPath(folder_, L"C:\\A\\bild.png", L".jpg");
    EXPECT_EQ(first, inFolder(L"bild.jpg"));
    createFile(L"bild.jpg");
    EXPECT_EQ(uniqueOutputPath(folder_, L"D:\\B\\bild.png", L".jpg"), inFolder(L"bild (2).jpg"));
}

TEST_F(UniqueOutputPathTest, FolderWithTrailingSeparatorGetsNoSecondOne)
{
    createFile(L"urlaub.jpg");
    EXPECT_EQ(uniqueOutputPath(folder_ + L"\\", L"C:\\Fotos\\urlaub.heic", L".jpg"),
              inFolder(L"urlaub (2).jpg"));
    EXPECT_EQ(uniqueOutputPath(folder_ + L"/", L"C:\\Fotos\\urlaub.heic", L".jpg"),
              folder_ + L"/urlaub (2).jpg");
}

TEST_F(UniqueOutputPathTest, MissingFolderMeansEveryNameIsFree)
{
    const std::wstring missing = inFolder(L"gibt es nicht");
    EXPECT_EQ(uniqueOutputPath(missing, L"C:\\Fotos\\urlaub.heic", L".jpg"), missing + L"\\urlaub.jpg");
}

TEST(UniqueOutputPath, BareDriveIsJoinedWithoutSeparator)
{
    // A name no drive's current folder is expected to hold.
    EXPECT_EQ(uniqueOutputPath(L"C:", L"D:\\B\\lumora-kein-solcher-name.png", L".jpg"),
              L"C:lumora-kein-solcher-name.jpg");
}

}  // namespace
