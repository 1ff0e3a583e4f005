// Where the controls land for a client size and DPI, checked both as arithmetic
// and on the real window, and the painted header, background and panel frame.
// The tests named "AtTheWindowDpi" also run in a process Wine starts at 144 DPI.
#include <array>
#include <map>
#include <tuple>

#include "app/drawing_objects.h"
#include "app/layout.h"
#include "support/main_window_fixture.h"

namespace {
// A combo box's height is its drop-down list's; here it counts closed, one row high.
std::map<int, RECT> placementsById(int width, int height, UINT dpi)
{
    std::map<int, RECT> byId;
    for (const ControlPlacement& p : controlPlacements(width, height, dpi)) {
        const bool combo = p.id == kFormatCombo || p.id == kScaleCombo;
        byId[p.id] = RECT{p.left, p.top, p.left + p.width, p.top + (combo ? scaleForDpi(30, dpi) : p.height)};
    }
    return byId;
}
}  // namespace

TEST(Layout, ColumnsListAndFooterFollowTheClientSizeAndDpiWithTheirMinimums)
{
    // Client size and DPI, then the list's width, the panel's left and width, the list's bottom, the tops of
    // the three lines under it and the frame's bottom. A minimised window reports 0 x 0. At 144 DPI 109, 79
    // and 55 scale to 163.5, 118.5 and 82.5: halves round away from zero.
    const std::tuple<int, int, UINT, std::array<int, 8>> cases[] = {
        {1264, 781, 96, {695, 737, 503, 663, 672, 702, 726, 676}},
        {1004, 650, 96, {552, 594, 386, 532, 541, 571, 595, 636}},
        {0, 0, 96, {420, 462, 330, 370, 379, 409, 433, -14}},
        {1896, 1172, 144, {1042, 1105, 755, 995, 1008, 1053, 1089, 1014}},
        {0, 0, 192, {840, 924, 660, 740, 758, 818, 866, -28}}};
    for (const auto& [width, height, dpi, expected] : cases) {
        auto byId = placementsById(width, height, dpi);
        const auto [listWidth, panelX, panelWidth] = columnGeometry(width, dpi);
        const std::array<int, 8> actual{listWidth, panelX, panelWidth, byId[kImageListView].bottom,
                                        byId[kSummaryText].top, byId[kProgressBar].top, byId[kStatusText].top,
                                        panelFrameBottom(height, dpi)};
        EXPECT_EQ(actual, expected) << width << " x " << height << " at " << dpi;
    }
}

TEST_F(MainWindowTest, ControlsLandAtTheirDesignPlacesScaledAndNoneOverlapAtTheWindowDpi)
{
    setClientSize(px(1100), px(760));
    std::map<int, RECT> actual;
    for (const auto& [id, design] : placementsById(1100, 760, 96)) {
        RECT& rect = actual[id] = placement(static_cast<ControlId>(id));
        // A closed combo box keeps the height the platform gives it.
        if (id == kFormatCombo || id == kScaleCombo) rect.bottom = px(design.bottom);
        const LONG edges[][2] = {{rect.left, design.left}, {rect.top, design.top}, {rect.right, design.right},
                                 {rect.bottom, design.bottom}};
        for (const auto& [edge, designEdge] : edges) EXPECT_NEAR(edge, px(designEdge), 1) << id;
    }
    RECT overlap{};
    for (const auto& [id, rect] : actual)
        for (const auto& [other, otherRect] : actual)
            EXPECT_FALSE(other > id && IntersectRect(&overlap, &rect, &otherRect)) << id << " and " << other;
}

TEST_F(MainWindowTest, PaintsHeaderBandBackgroundFrameAndIconAtTheWindowDpi)
{
    const int width = px(1264);
    const int panelX = columnGeometry(width, GetDpiForWindow(window())).panelX;
    setClientSize(width, px(781));
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC hdc = GetDC(window());
    // The band's last row and the one below, the background, inside and on the panel frame, below it.
    const std::pair<POINT, COLORREF> samples[] = {
        {{px(600), px(5)}, kHeaderColour}, {{px(900), px(78) - 1}, kHeaderColour},
        {{px(900), px(78)}, kBackgroundColour}, {{px(10), px(300)}, kBackgroundColour},
        {{panelX - px(7), px(640)}, kBackgroundColour},
        {{panelX - px(12), px(300)}, kFrameColour}, {{px(900), px(86)}, kFrameColour},
        {{px(900), px(676) - 1}, kFrameColour}, {{px(900), px(700)}, kBackgroundColour}};
    for (const auto& [at, colour] : samples) EXPECT_EQ(GetPixel(hdc, at.x, at.y), colour) << at.x << ',' << at.y;
    int iconPixels = 0, titlePixels = 0;
    for (int y = px(14); y < px(62); ++y)
        for (int x = width - px(66); x < width - px(18); ++x) iconPixels += GetPixel(hdc, x, y) != kHeaderColour;
    for (int y = px(13); y < px(48); ++y)
        for (int x = px(24); x < px(140); ++x) titlePixels += GetPixel(hdc, x, y) == RGB(255, 255, 255);
    ReleaseDC(window(), hdc);
    EXPECT_GT(iconPixels, px(500)) << "the icon is drawn 18 pixels (at 96 DPI) from the right edge";
    EXPECT_GT(titlePixels, px(50)) << "the product name is drawn in white";
}
