// The list view and the forecast texts of the real window, for real probed
// images and for entries with known sizes, under changing settings.
#include <filesystem>

#include "app/controls.h"
#include "forecast/byte_size.h"
#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "support/main_window_fixture.h"
#include "support/wic_files.h"

namespace {
// The worked example: a 4000 x 3000 JPEG photo of 5,000,000 bytes.
ImageEntry holidayPhoto(const wchar_t* path)
{
    return ImageEntry{path, 4000, 3000, 5000000};
}
}  // namespace

TEST_F(MainWindowTest, EmptyListShowsTheEmptyStateAndTheQuality)
{
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(text(kForecastText), L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.");
    EXPECT_EQ(text(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");
    EXPECT_EQ(text(kQualityLabel), L"85 %");
    moveTrackbar(kQualityTrackbar, 70);
    EXPECT_EQ(text(kQualityLabel), L"70 %");
    EXPECT_EQ(text(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");
}

TEST_F(MainWindowTest, RowsShowProbedImagesFromDisk)
{
    TempFolder folder;
    const std::wstring photo = folder.file(L"Urlaub.JPG");
    const std::wstring graphic = folder.file(L"logo.png");
    ASSERT_EQ(writeTestImage(photo, GUID_ContainerFormatJpeg, 400, 300, GUID_WICPixelFormat24bppBGR), S_OK);
    ASSERT_EQ(writeTestImage(graphic, GUID_ContainerFormatPng, 12345, 2, GUID_WICPixelFormat32bppBGRA), S_OK);
    for (const std::wstring& path : {photo, graphic}) {
        ImageEntry entry;
        ASSERT_TRUE(probeImage(path, entry));
        imageList().push_back(entry);
    }
    rebuildImageListView();

    ASSERT_EQ(rowCount(), 2);
    EXPECT_EQ(cell(0, 0), L"Urlaub.JPG");
    EXPECT_EQ(cell(0, 1), L"400 \u00d7 300");
    EXPECT_EQ(cell(0, 2), formatByteSize(static_cast<double>(std::filesystem::file_size(photo))));
    EXPECT_EQ(cell(0, 3), L"400 \u00d7 300");
    EXPECT_EQ(cell(0, 4).rfind(L"ca. ", 0), 0u) << cell(0, 4);
    EXPECT_EQ(cell(0, 5), photo);
    EXPECT_EQ(cell(1, 0), L"logo.png");
    EXPECT_EQ(cell(1, 1), L"12345 \u00d7 2");
    EXPECT_EQ(cell(1, 5), graphic);
    EXPECT_EQ(text(kSummaryText).rfind(L"2 Bilder  \u2022  Original ", 0), 0u) << text(kSummaryText);

    // A rebuild after a change of the list closes the rows up.
    imageList().erase(imageList().begin());
    rebuildImageListView();
    ASSERT_EQ(rowCount(), 1);
    EXPECT_EQ(cell(0, 0), L"logo.png");
    EXPECT_EQ(text(kSummaryText).rfind(L"1 Bild  \u2022  Original ", 0), 0u) << text(kSummaryText);
}

TEST_F(MainWindowTest, ForecastAndSummaryLinesUseTheWorkedExample)
{
    imageList().push_back(holidayPhoto(L"C:\\Fotos\\urlaub.jpg"));
    rebuildImageListView();
    EXPECT_EQ(text(kForecastText),
              L"Prognose gesamt: ca. 4.4 MB  (realistische Spanne 3.8 MB \u2013 5.1 MB)");
    EXPECT_EQ(text(kSummaryText), L"1 Bild  \u2022  Original 4.8 MB  \u2022  Prognose 4.4 MB");
    EXPECT_EQ(cell(0, 3), L"4000 \u00d7 3000");
    EXPECT_EQ(cell(0, 4), L"ca. 4.4 MB");

    imageList().push_back(holidayPhoto(L"\\\\server\\share\\urlaub2.jpg"));
    rebuildImageListView();
    EXPECT_EQ(text(kSummaryText), L"2 Bilder  \u2022  Original 9.5 MB  \u2022  Prognose 8.9 MB");
    EXPECT_EQ(cell(1, 0), L"urlaub2.jpg");
    EXPECT_EQ(cell(1, 5), L"\\\\server\\share\\urlaub2.jpg");

    // An unreadable size adds nothing to the original sum but still gets a forecast.
    imageList().push_back(ImageEntry{L"C:\\Fotos\\scan.png", 1920, 1080, 0});
    rebuildImageListView();
    EXPECT_EQ(cell(2, 2), L"0 B");
    EXPECT_EQ(cell(2, 4), L"ca. 662 KB");
    EXPECT_EQ(text(kSummaryText).rfind(L"3 Bilder  \u2022  Original 9.5 MB  \u2022  Prognose ", 0), 0u);
}

TEST_F(MainWindowTest, TargetSizeAndForecastCellsFollowEverySetting)
{
    imageList().push_back(holidayPhoto(L"C:\\Fotos\\urlaub.jpg"));
    rebuildImageListView();

    selectCombo(kScaleCombo, 1);  // Prozentual
    typeInto(kPercentEdit, L"50");
    EXPECT_EQ(cell(0, 3), L"2000 \u00d7 1500");
    EXPECT_EQ(cell(0, 4), L"ca. 1.3 MB");

    selectCombo(kScaleCombo, 2);  // Feste Breite, aspect kept
    moveTrackbar(kWidthTrackbar, 1920);
    EXPECT_EQ(text(kWidthEdit), L"1920");
    EXPECT_EQ(cell(0, 3), L"1920 \u00d7 1440");
    // Above the slider's end the edit still counts.
    typeInto(kWidthEdit, L"20000");
    EXPECT_EQ(cell(0, 3), L"20000 \u00d7 15000");

    selectCombo(kScaleCombo, 4);  // Exakte Größe
    typeInto(kWidthEdit, L"1920");
    typeInto(kHeightEdit, L"1080");
    EXPECT_EQ(cell(0, 3), L"1440 \u00d7 1080");
    // A posted BN_CLICKED does not toggle the box; untick it as a real click would.
    SendMessageW(control(kKeepAspectCheck), BM_SETCHECK, BST_UNCHECKED, 0);
    click(kKeepAspectCheck);
    EXPECT_EQ(cell(0, 3), L"1920 \u00d7 1080");

    selectCombo(kScaleCombo, 0);
    selectCombo(kFormatCombo, 5);  // BMP: 3000 rows of 12,000 bytes plus 256
    EXPECT_EQ(cell(0, 3), L"4000 \u00d7 3000");
    EXPECT_EQ(cell(0, 4), L"ca. 34.3 MB");
    moveTrackbar(kQualityTrackbar, 10);
    EXPECT_EQ(cell(0, 4), L"ca. 34.3 MB");

    selectCombo(kFormatCombo, 1);  // JFIF counts as the source's own format
    EXPECT_EQ(cell(0, 4), L"ca. 576 KB");
    moveTrackbar(kQualityTrackbar, 85);
    EXPECT_EQ(cell(0, 4), L"ca. 4.4 MB");
    EXPECT_EQ(text(kQualityLabel), L"85 %");

    // Nothing selected in either combo: JPEG at the source size.
    SendMessageW(control(kFormatCombo), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    selectCombo(kScaleCombo, -1);
    EXPECT_EQ(cell(0, 3), L"4000 \u00d7 3000");
    EXPECT_EQ(cell(0, 4), L"ca. 4.4 MB");
}
