// Which files of a dropped folder count as images, and in which order they come.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagelist/path_expansion.h"

TEST(PathExpansion, KeepsFilesMatchingAnImagePatternWithoutRegardToCase)
{
    for (const wchar_t* path : {L"C:\\b\\x.JPG", L"C:\\b\\x.jpeg", L"C:\\b\\x.Jfif", L"C:\\b\\x.png", L"C:\\b\\x.webp",
                                L"C:\\b\\x.gif", L"C:\\b\\x.tif", L"C:\\b\\x.TIFF", L"C:\\b\\x.bmp", L"C:\\b\\x.heic",
                                L"C:\\b\\x.heif", L"C:/b/x.AVIF"})
        EXPECT_TRUE(matchesImagePattern(path)) << path;
    for (const wchar_t* path : {L"C:\\b\\x.txt", L"C:\\b\\jpg", L"C:\\b\\x.jpg.txt", L"C:\\b.png\\x", L"C:\\b\\x.jp",
                                L"C:\\b\\x.jpgx"})
        EXPECT_FALSE(matchesImagePattern(path)) << path;
}

TEST(PathExpansion, OrdersByFullPathFromAToZWithoutRegardToCase)
{
    // Code-unit order would put "C.png" and "Unter" before "b.PNG".
    EXPECT_EQ(imageFilesInOrder({L"D:\\f\\Unter\\a.png", L"D:\\f\\notiz.txt", L"D:\\f\\C.png", L"D:\\f\\b.PNG"}),
              (std::vector<std::wstring>{L"D:\\f\\b.PNG", L"D:\\f\\C.png", L"D:\\f\\Unter\\a.png"}));
}
