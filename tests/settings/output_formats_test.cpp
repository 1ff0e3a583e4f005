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
        {-1, L".jpg"}, {0, L".jpg"}, {1, L".jfif"}, {6, L".gif"}, {7, L".gif"}, {LLONG_MAX, L".gif"},
    };
    for (const auto& c : cases) EXPECT_STREQ(outputFormatAt(c.selection).extension, c.extension) << c.selection;
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
        // The fold nothing above reaches, a drive designator without separator,
        // a dot in a folder name, and the names that have no extension.
        {L"a.jpe", L".jpg"},
        {L"C:foto.PNG", L".png"},
        {L"C:\\a.jpg\\readme", L""},
        {L"C:\\daten\\..", L""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(formatClassOf(c.input), c.formatClass) << c.input;
}

}  // namespace
