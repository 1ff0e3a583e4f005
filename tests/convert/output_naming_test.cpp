// Output names: the stem rule, and the search for a free name in a real folder
// holding files, a directory and gaps in the numbering.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "convert/output_naming.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

TEST(PathStem, DropsFolderDriveStreamAndExtension)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Fotos\\a.b.png", L"a.b"},
        {L".profile", L".profile"},
        {L"x.", L"x"},
        {L"C:\\daten\\bild.jpg:zone", L"bild"},
        // One-character names and ".." are stems as they are.
        {L"C:\\daten\\.", L"."},
        {L"C:\\daten\\..", L".."},
    };
    for (const auto& [path, stem] : cases) EXPECT_EQ(pathStem(path), stem) << path;
}

TEST(UniqueOutputPath, TakesTheFirstFreeNameInARealFolder)
{
    const TempFolder folder;
    const auto unique = [](const std::wstring& targetFolder, const wchar_t* extension = L".jpg") {
        return uniqueOutputPath(targetFolder, L"C:\\Fotos\\urlaub.heic", extension).path;
    };
    EXPECT_EQ(unique(folder.path()), folder.file(L"urlaub.jpg"));
    writeFileBytes(folder.file(L"urlaub.jpg"), "x");
    EXPECT_EQ(unique(folder.path()), folder.file(L"urlaub (2).jpg"));
    EXPECT_EQ(unique(folder.path(), L".png"), folder.file(L"urlaub.png"));

    writeFileBytes(folder.file(L"urlaub (3).jpg"), "x");
    EXPECT_EQ(unique(folder.path()), folder.file(L"urlaub (2).jpg"));

    // A directory takes a name just as a file does.
    ASSERT_TRUE(std::filesystem::create_directory(folder.file(L"urlaub (2).jpg")));
    EXPECT_EQ(unique(folder.path()), folder.file(L"urlaub (4).jpg"));
    // A trailing separator gets no second one.
    EXPECT_EQ(unique(folder.path() + L"\\"), folder.file(L"urlaub (4).jpg"));

    // Converting into the source's own folder never overwrites the source.
    writeFileBytes(folder.file(L"a.jpg"), "x");
    EXPECT_EQ(uniqueOutputPath(folder.path(), folder.file(L"a.jpg"), L".jpg").path, folder.file(L"a (2).jpg"));
}

}  // namespace
