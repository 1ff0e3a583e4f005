// Which files of a dropped folder count as images, and in which order they come.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagelist/path_expansion.h"

TEST(PathExpansion, KeepsTheImagePatternsWithoutRegardToCaseInAToZOrder)
{
    // Code-unit order would put "C" and "Unter" before "b"; the full list of
    // patterns is checked where the open dialog is given them.
    EXPECT_EQ(imageFilesInOrder({L"D:\\f\\Unter\\a.JPEG", L"D:\\f\\x.jpg.txt", L"D:\\f\\C.tiff", L"D:\\f.png\\x",
                                 L"D:\\f\\b.Heic", L"D:\\f\\x.jpgx", L"D:\\f\\jpg", L"D:\\f\\d.avif"}),
              (std::vector<std::wstring>{L"D:\\f\\b.Heic", L"D:\\f\\C.tiff", L"D:\\f\\d.avif",
                                         L"D:\\f\\Unter\\a.JPEG"}));
}
