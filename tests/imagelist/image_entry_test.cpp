// The path rules of the image list: duplicate detection, the shown file name,
// joining folder and name, and the open dialog's result buffer.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "imagelist/image_entry.h"

TEST(ImageEntry, SamePathFoldsOnlyTheLettersAToZ)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"C:\\Bilder\\A.JPG", L"c:\\bilder\\a.jpg", true}, {L"C:\\AZ\\az", L"C:\\az\\AZ", true},
        {L"C:\\a.jpg", L"C:\\a.jp", false},
        // Non-ASCII letters are compared exactly, and so are the neighbours of A–Z.
        {L"C:\\\u00c4pfel.jpg", L"C:\\\u00e4pfel.jpg", false}, {L"[a]", L"{a}", false}, {L"@", L"`", false},
    };
    for (const auto& [a, b, same] : cases) {
        EXPECT_EQ(asciiCaseFolded(a) == asciiCaseFolded(b), same) << a << " vs " << b;
        // The order sorts exactly these as equivalent.
        EXPECT_EQ(!pathLessIgnoringAsciiCase(a, b) && !pathLessIgnoringAsciiCase(b, a), same) << a << " vs " << b;
    }
}

TEST(ImageEntry, FileNameAndJoinedPath)
{
    const std::pair<const wchar_t*, const wchar_t*> names[] = {
        {L"C:\\mixed/dirs\\bild.png", L"bild.png"}, {L"C:\\mixed\\dirs/bild.png", L"bild.png"},
        {L"C:bild.jpg", L"bild.jpg"}, {L"bild.jpg", L"bild.jpg"}};
    for (const auto& [path, name] : names) EXPECT_EQ(fileNameOf(path), name) << path;
    // One separator between folder and name; only a bare drive stays relative to its current folder.
    const std::pair<const wchar_t*, const wchar_t*> joined[] = {
        {L"C:\\Fotos", L"C:\\Fotos\\a.jpg"}, {L"C:/Fotos/", L"C:/Fotos/a.jpg"}, {L"C:", L"C:a.jpg"},
        {L"C:x", L"C:x\\a.jpg"}};
    for (const auto& [folder, path] : joined) EXPECT_EQ(pathAppend(folder, L"a.jpg"), path) << folder;
}

TEST(ImageEntry, SplitOpenDialogResultGivesOnePathOrFolderWithNames)
{
    using Paths = std::vector<std::wstring>;
    using namespace std::string_literals;
    const std::pair<std::wstring, Paths> cases[] = {
        {L"C:\\Fotos\\a.jpg\0\0"s, {L"C:\\Fotos\\a.jpg"}},
        {L"C:\\Fotos\0b.png\0a.jpg\0c.gif\0\0"s, {L"C:\\Fotos\\b.png", L"C:\\Fotos\\a.jpg", L"C:\\Fotos\\c.gif"}},
        // From a drive's root: no doubled backslash.
        {L"C:\\\0a.jpg\0b.jpg\0\0"s, {L"C:\\a.jpg", L"C:\\b.jpg"}},
        // Whatever follows the terminating empty string is not read.
        {L"C:\\Fotos\0a.jpg\0\0stale.jpg\0\0"s, {L"C:\\Fotos\\a.jpg"}},
        {std::wstring(16, L'\0'), {}},
    };
    for (const auto& [buffer, paths] : cases) EXPECT_EQ(splitOpenDialogResult(buffer.data(), buffer.size()), paths);
    // A full buffer has no terminator: reading stops at the capacity.
    EXPECT_EQ(splitOpenDialogResult(L"C:\\Fotos\0a.jpg\0b.jpgXXXX", 20),
              (Paths{L"C:\\Fotos\\a.jpg", L"C:\\Fotos\\b.jpg"}));
}
