// The list view's cells and the forecast texts of the real window for entries
// with known sizes, under changing settings.
#include <functional>
#include <tuple>

#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "support/main_window_fixture.h"

TEST_F(MainWindowTest, ForecastAndSummaryLinesUseTheWorkedExample)
{
    // The worked example: a 4000 x 3000 JPEG photo of 5,000,000 bytes.
    imageList().append({L"C:\\Fotos\\urlaub.jpg", 4000, 3000, 5000000});
    rebuildImageListView();
    EXPECT_EQ(text(kForecastText), L"Prognose gesamt: ca. 4.4 MB  (realistische Spanne 3.8 MB \u2013 5.1 MB)");
    EXPECT_EQ(text(kSummaryText), L"1 Bild  \u2022  Original 4.8 MB  \u2022  Prognose 4.4 MB");
    imageList().append({L"\\\\server\\share\\urlaub2.jpg", 4000, 3000, 5000000});
    rebuildImageListView();
    EXPECT_EQ(text(kSummaryText), L"2 Bilder  \u2022  Original 9.5 MB  \u2022  Prognose 8.9 MB");
    // An unreadable size adds nothing to the original sum but still gets a forecast.
    imageList().append(ImageEntry{L"C:\\Fotos\\scan.png", 1920, 1080, 0});
    rebuildImageListView();
    EXPECT_EQ(cell(2, 2), L"0 B");
    EXPECT_EQ(cell(2, 4), L"ca. 662 KB");
    EXPECT_TRUE(text(kSummaryText).starts_with(L"3 Bilder  \u2022  Original 9.5 MB  \u2022  Prognose "));
}

TEST_F(MainWindowTest, CellsOfALongListFollowEverySettingWithoutARebuild)
{
    constexpr int kRows = 10000;
    for (int i = 0; i < kRows; ++i)
        imageList().append({L"C:\\Fotos\\" + std::to_wstring(i) + L".jpg", 4000, 3000, 5000000});
    rebuildImageListView();
    // A change of the settings, then every row's target size and forecast (unchecked when null).
    const std::tuple<std::function<void()>, const wchar_t*, const wchar_t*> steps[] = {
        {[&] { selectCombo(kScaleCombo, 1); typeInto(kPercentEdit, L"50"); }, L"2000 \u00d7 1500", L"ca. 1.3 MB"},
        {[&] { selectCombo(kScaleCombo, 2); moveTrackbar(kWidthTrackbar, 1920); }, L"1920 \u00d7 1440", nullptr},
        // Above the slider's end the edit still counts.
        {[&] { typeInto(kWidthEdit, L"20000"); }, L"20000 \u00d7 15000", nullptr},
        {[&] { selectCombo(kScaleCombo, 4); typeInto(kWidthEdit, L"1920"); typeInto(kHeightEdit, L"1080"); },
         L"1440 \u00d7 1080", nullptr},
        // A posted BN_CLICKED does not toggle the box; untick it as a real click would.
        {[&] { SendMessageW(control(kKeepAspectCheck), BM_SETCHECK, BST_UNCHECKED, 0); click(kKeepAspectCheck); },
         L"1920 \u00d7 1080", nullptr},
        // An empty or unreadable side, or percentage, means the image's own size.
        {[&] { typeInto(kWidthEdit, L""); typeInto(kHeightEdit, L"x"); }, L"4000 \u00d7 3000", nullptr},
        {[&] { selectCombo(kScaleCombo, 1); typeInto(kPercentEdit, L"abc"); }, L"4000 \u00d7 3000", nullptr},
        // BMP: 3000 rows of 12,000 bytes plus 256, whatever the quality.
        {[&] { selectCombo(kScaleCombo, 0); selectCombo(kFormatCombo, 5); }, L"4000 \u00d7 3000", L"ca. 34.3 MB"},
        {[&] { moveTrackbar(kQualityTrackbar, 10); }, L"4000 \u00d7 3000", L"ca. 34.3 MB"},
        // JFIF counts as the source's own format.
        {[&] { selectCombo(kFormatCombo, 1); }, L"4000 \u00d7 3000", L"ca. 576 KB"},
        {[&] { moveTrackbar(kQualityTrackbar, 85); }, L"4000 \u00d7 3000", L"ca. 4.4 MB"},
        // Nothing selected in either combo: JPEG at the source size.
        {[&] { SendMessageW(control(kFormatCombo), CB_SETCURSEL, WPARAM(-1), 0); selectCombo(kScaleCombo, -1); },
         L"4000 \u00d7 3000", L"ca. 4.4 MB"},
    };
    for (const auto& [change, target, forecast] : steps) {
        UpdateWindow(control(kImageListView));
        change();
        // The rows on screen are due for a repaint, and every row answers under the new settings.
        EXPECT_TRUE(GetUpdateRect(control(kImageListView), nullptr, FALSE)) << target;
        for (const int row : {0, kRows - 1}) {
            EXPECT_EQ(cell(row, 3), target) << row;
            if (forecast) { EXPECT_EQ(cell(row, 4), forecast) << row; }
        }
    }
}
