// The output-format table lookup and the format classes the forecast compares.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "settings/output_formats.h"

TEST(OutputFormats, ComboSelectionIsClampedToTheTable)
{
    // Combo selection and the row's extension.
    const std::pair<long long, const wchar_t*> cases[] = {
        {-1, L".jpg"}, {0, L".jpg"}, {1, L".jfif"}, {6, L".gif"}, {7, L".gif"}, {LLONG_MAX, L".gif"}};
    for (const auto& [row, extension] : cases) EXPECT_STREQ(outputFormatAt(row).extension, extension) << row;
}

TEST(OutputFormats, FormatClassOfPathsNamesAndBareExtensions)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Bilder\\Urlaub.JPEG", L".jpg"}, {L"D:/scans/seite1.Tiff", L".tif"}, {L"a.jpe", L".jpg"},
        {L".jfif", L".jpg"}, {L".WEBP", L".webp"}, {L"C:\\daten\\archiv.tar.gz", L".gz"},
        {L"C:foto.PNG", L".png"}, {L"C:\\daten\\bild.jpg:zone", L".jpg"}, {L"C:\\daten\\foto.", L"."},
        // Names without an extension: none at all, a leading dot only, a dot in a folder name.
        {L"C:\\daten\\README", L""}, {L"C:\\daten\\.png", L""}, {L"C:\\a.jpg\\readme", L""},
        {L"C:\\daten\\..", L""}, {L"", L""},
    };
    for (const auto& [input, formatClass] : cases) EXPECT_EQ(formatClassOf(input), formatClass) << input;
}
