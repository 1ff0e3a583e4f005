// The path rules of the image list: duplicate detection, the shown file name,
// joining folder and name, and the open dialog's result buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagelist/image_entry.h"

namespace {

TEST(SamePathIgnoringAsciiCase, FoldsOnlyTheLettersAToZ)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    } cases[] = {
        {L"C:\\Bilder\\a.jpg", L"C:\\Bilder\\a.jpg", true},
        {L"C:\\Bilder\\A.JPG", L"c:\\bilder\\a.jpg", true},
        {L"C:\\AZ\\az", L"C:\\az\\AZ", true},
        {L"", L"", true},
        // Non-ASCII letters are compared exactly.
        {L"C:\\\u00c4pfel.jpg", L"C:\\\u00e4pfel.jpg", false},
        // Characters 0x20 apart that are no letters do not match.
        {L"[a]", L"{a}", false},
        {L"@", L"`", false},
        // Separators are not normalised.
        {L"C:\\a.jpg", L"C:/a.jpg", false},
        {L"C:\\a.jpg", L"C:\\a.jpg ", false},
        {L"C:\\a.jpg", L"C:\\a.jp", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(samePathIgnoringAsciiCase(c.a, c.b), c.same) << c.a << " vs " << c.b;
        EXPECT_EQ(samePathIgnoringAsciiCase(c.b, c.a), c.same) << c.b << " vs " << c.a;
    }
}

TEST(FileNameOf, LastComponentWithoutDrive)
{
    const struct {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\Bilder\\Urlaub.JPG", L"Urlaub.JPG"},
        {L"D:/scans/seite1.tif", L"seite1.tif"},
        {L"C:\\mixed/dirs\\bild.png", L"bild.png"},
        {L"C:\\mixed\\dirs/bild.png", L"bild.png"},
        {L"\\\\server\\share\\foto.gif", L"foto.gif"},
        {L"C:bild.jpg", L"bild.jpg"},
        {L"bild.jpg", L"bild.jpg"},
        {L"C:\\daten\\bild.jpg:zone", L"bild.jpg:zone"},
        {L"C:\\daten\\", L""},
        {L"C:", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(fileNameOf(c.path), c.name) << c.path;
}

TEST(PathAppend, OneSeparatorBetweenFolderAndName)
{
    const struct {
        const wchar_t* folder;
        const wchar_t* joined;
    } cases[] = {
        {L"C:\\Fotos", L"C:\\Fotos\\a.jpg"},
        {L"C:\\Fotos\\", L"C:\\Fotos\\a.jpg"},
        {L"C:/Fotos/", L"C:/Fotos/a.jpg"},
        {L"C:\\", L"C:\\a.jpg"},
        {L"C:", L"C:a.jpg"},
        {L"z:", L"z:a.jpg"},
        {L"C:x", L"C:x\\a.jpg"},
        {L"1:", L"1:\\a.jpg"},
        {L"\\\\server\\share", L"\\\\server\\share\\a.jpg"},
        {L"Fotos", L"Fotos\\a.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(pathAppend(c.folder, L"a.jpg"), c.joined) << c.folder;
}

std::vector<std::wstring> split(const std::wstring& buffer)
{
    return splitOpenDialogResult(buffer.data(), buffer.size());
}

TEST(SplitOpenDialogResult, OnePathOrFolderWithNames)
{
    using Paths = std::vector<std::wstring>;
    using namespace std::string_literals;
    EXPECT_EQ(split(L"C:\\Fotos\\a.jpg\0\0"s), (Paths{L"C:\\Fotos\\a.jpg"}));
    EXPECT_EQ(split(L"C:\\Fotos\0b.png\0a.jpg\0c.gif\0\0"s),
              (Paths{L"C:\\Fotos\\b.png", L"C:\\Fotos\\a.jpg", L"C:\\Fotos\\c.gif"}));
    // Picking from a drive's root: no doubled backslash.
    EXPECT_EQ(split(L"C:\\\0a.jpg\0b.jpg\0\0"s), (Paths{L"C:\\a.jpg", L"C:\\b.jpg"}));
    // Whatever follows the terminating empty string is not read.
    EXPECT_EQ(split(L"C:\\Fotos\0a.jpg\0\0stale.jpg\0\0"s), (Paths{L"C:\\Fotos\\a.jpg"}));
    EXPECT_EQ(split(std::wstring(16, L'\0')), Paths{});
}

TEST(SplitOpenDialogResult, NeverReadsPastTheCapacity)
{
    using Paths = std::vector<std::wstring>;
    using namespace std::string_literals;
    // The buffer is full: neither an empty string nor a terminator before the end.
    const std::wstring full = L"C:\\Fotos\0a.jpg\0b.jpgXXXX"s;
    const std::size_t capacity = full.find(L"XXXX");
    EXPECT_EQ(splitOpenDialogResult(full.data(), capacity),
              (Paths{L"C:\\Fotos\\a.jpg", L"C:\\Fotos\\b.jpg"}));
    EXPECT_EQ(splitOpenDialogResult(full.data(), 4), (Paths{L"C:\\F"}));
    EXPECT_EQ(splitOpenDialogResult(full.data(), 0), Paths{});
}

}  // namespace
