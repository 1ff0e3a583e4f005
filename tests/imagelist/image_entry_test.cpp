// The path rules of the image list: duplicate detection, the shown file name,
// joining folder and name, and the open dialog's result buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagelist/image_entry.h"

namespace {

TEST(AsciiCaseFolded, FoldsOnlyTheLettersAToZ)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    } cases[] = {
        {L"C:\\Bilder\\A.JPG", L"c:\\bilder\\a.jpg", true}, {L"C:\\AZ\\az", L"C:\\az\\AZ", true},
        {L"C:\\a.jpg", L"C:\\a.jp", false},
        // Non-ASCII letters are compared exactly, and so are the neighbours of A–Z.
        {L"C:\\\u00c4pfel.jpg", L"C:\\\u00e4pfel.jpg", false}, {L"[a]", L"{a}", false}, {L"@", L"`", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(asciiCaseFolded(c.a) == asciiCaseFolded(c.b), c.same) << c.a << " vs " << c.b;
    }
}

TEST(FileNameOf, LastComponentWithoutDrive)
{
    const struct {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\mixed/dirs\\bild.png", L"bild.png"}, {L"C:\\mixed\\dirs/bild.png", L"bild.png"},
        {L"C:bild.jpg", L"bild.jpg"},               {L"bild.jpg", L"bild.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(fileNameOf(c.path), c.name) << c.path;
}

TEST(PathAppend, OneSeparatorBetweenFolderAndName)
{
    const struct {
        const wchar_t* folder;
        const wchar_t* joined;
    } cases[] = {
        {L"C:\\Fotos", L"C:\\Fotos\\a.jpg"}, {L"C:/Fotos/", L"C:/Fotos/a.jpg"},
        // Only a bare drive stays relative to its current folder.
        {L"C:", L"C:a.jpg"}, {L"C:x", L"C:x\\a.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(pathAppend(c.folder, L"a.jpg"), c.joined) << c.folder;
}

TEST(SplitOpenDialogResult, OnePathOrFolderWithNames)
{
    using Paths = std::vector<std::wstring>;
    using namespace std::string_literals;
    const auto split = [](const std::wstring& buffer) {
        return splitOpenDialogResult(buffer.data(), buffer.size());
    };
    EXPECT_EQ(split(L"C:\\Fotos\\a.jpg\0\0"s), (Paths{L"C:\\Fotos\\a.jpg"}));
    EXPECT_EQ(split(L"C:\\Fotos\0b.png\0a.jpg\0c.gif\0\0"s),
              (Paths{L"C:\\Fotos\\b.png", L"C:\\Fotos\\a.jpg", L"C:\\Fotos\\c.gif"}));
    // Picking from a drive's root: no doubled backslash.
    EXPECT_EQ(split(L"C:\\\0a.jpg\0b.jpg\0\0"s), (Paths{L"C:\\a.jpg", L"C:\\b.jpg"}));
    // Whatever follows the terminating empty string is not read.
    EXPECT_EQ(split(L"C:\\Fotos\0a.jpg\0\0stale.jpg\0\0"s), (Paths{L"C:\\Fotos\\a.jpg"}));
    EXPECT_EQ(split(std::wstring(16, L'\0')), Paths{});
    // A full buffer has no terminator: reading stops at the capacity.
    const std::wstring full = L"C:\\Fotos\0a.jpg\0b.jpgXXXX"s;
    EXPECT_EQ(splitOpenDialogResult(full.data(), full.find(L"XXXX")),
              (Paths{L"C:\\Fotos\\a.jpg", L"C:\\Fotos\\b.jpg"}));
}

}  // namespace
