// The output-format table lookup and the format classes the forecast compares.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/output_formats.h"

namespace {

TEST(OutputFormatAt, ClampsTheComboSelectionToTheTable)
{
    const struct {
        long long selection;
        const wchar_t* extension;
    } cases[] = {
        {-1, L".jpg"},   {LLONG_MIN, L".jpg"}, {0, L".jpg"}, {1, L".jfif"}, {3, L".webp"},
        {6, L".gif"},    {7, L".gif"},         {LLONG_MAX, L".gif"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(outputFormatAt(c.selection).extension, c.extension) << c.selection;
    }
    EXPECT_STREQ(outputFormatAt(-1).label, L"JPEG (.jpg)");
}

TEST(FormatClassOf, ClassifiesPathsNamesAndBareExtensions)
{
    const struct {
        const wchar_t* input;
        const wchar_t* formatClass;
    } cases[] = {
        // Worked values.
        {L"C:\\Bilder\\Urlaub.JPEG", L".jpg"},
        {L"D:/scans/seite1.Tiff", L".tif"},
        {L".jfif", L".jpg"},
        {L".WEBP", L".webp"},
        {L"C:\\daten\\archiv.tar.gz", L".gz"},
        {L"C:\\daten\\README", L""},
        {L"C:\\daten\\.png", L""},
        {L"C:\\daten\\foto.", L"."},
        {L"C:\\daten\\bild.jpg:zone", L".jpg"},
        // Every folded variant, in any letter case.
        {L"a.jpe", L".jpg"},
        {L"a.JFIF", L".jpg"},
        {L"a.jPeG", L".jpg"},
        {L"a.TIFF", L".tif"},
        {L".tiff", L".tif"},
        {L"a.JPG", L".jpg"},
        // Formats the program cannot write keep their own class.
        {L"C:\\Fotos\\IMG_1.HEIC", L".heic"},
        {L"x.avif", L".avif"},
        // A drive designator without separator is not part of the name.
        {L"C:foto.PNG", L".png"},
        {L"C:.png", L""},
        // A dot in a folder name does not count; only the last dot of the name does.
        {L"C:\\a.jpg\\readme", L""},
        {L"C:\\a.b\\c.d.Bmp", L".bmp"},
        // The stream suffix is cut at its first colon.
        {L"bild.gif:Zone.Identifier", L".gif"},
        // Degenerate names.
        {L"", L""},
        {L"a", L""},
        {L"C:\\daten\\..", L""},
        {L"C:\\daten\\x", L""},
        {L"C:\\daten\\", L""},
        {L".", L"."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatClassOf(c.input), c.formatClass) << c.input;
    }
}

TEST(FormatClassOf, JfifAndTiffRowsShareTheirSourcesClass)
{
    EXPECT_EQ(formatClassOf(kOutputFormats[1].extension), formatClassOf(L"C:\\x\\a.jpeg"));
    EXPECT_EQ(formatClassOf(kOutputFormats[4].extension), formatClassOf(L"C:\\x\\SCAN.TIFF"));
    EXPECT_NE(formatClassOf(kOutputFormats[2].extension), formatClassOf(kOutputFormats[0].extension));
}

}  // namespace
