// Where the controls land for a client size and DPI, checked both as arithmetic
// and on the real window, and the painted header, background and panel frame.
// The tests named "AtTheWindowDpi" also run in a process Wine starts at 144 DPI.
#include <array>
#include <map>
#include <tuple>

#include "app/dpi.h"
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

TEST(Layout, ColumnsFollowTheClientWidthAndDpiWithTheirMinimums)
{
    // A minimised window reports 0 x 0.
    const std::tuple<int, UINT, ColumnGeometry> cases[] = {
        {1264, 96, {695, 737, 503}},    {1004, 96, {552, 594, 386}}, {0, 96, {420, 462, 330}},
        {1896, 144, {1042, 1105, 755}}, {0, 192, {840, 924, 660}}};
    for (const auto& [width, dpi, expected] : cases) EXPECT_TRUE(columnGeometry(width, dpi) == expected) << width;
}

TEST(Layout, ListAndFooterFollowTheClientHeight)
{
    // Client height, DPI, then list height, the tops of the three lines under it and the frame's bottom. At
    // 144 DPI 109, 79 and 55 scale to 163.5, 118.5 and 82.5: halves round away from zero.
    const std::tuple<int, UINT, std::array<int, 5>> cases[] = {
        {781, 96, {533, 672, 702, 726, 676}}, {650, 96, {402, 541, 571, 595, 636}},
        {400, 96, {240, 379, 409, 433, 386}}, {0, 96, {240, 379, 409, 433, -14}},
        {1172, 144, {800, 1008, 1053, 1089, 1014}}};
    for (const auto& [height, dpi, expected] : cases) {
        auto byId = placementsById(1264, height, dpi);
        const std::array<int, 5> actual{byId[kImageListView].bottom - byId[kImageListView].top,
                                        byId[kSummaryText].top, byId[kProgressBar].top, byId[kStatusText].top,
                                        panelFrameBottom(height, dpi)};
        EXPECT_EQ(actual, expected) << height;
    }
}

TEST(Layout, EveryRectangleScalesWithTheDpiAndNoneOverlap)
{
    for (const UINT dpi : {96u, 144u, 192u}) {
        for (const SIZE size : {SIZE{1264, 781}, SIZE{1004, 650}, SIZE{0, 0}}) {
            const auto design = placementsById(size.cx, size.cy, 96);
            const auto scaled = placementsById(scaleForDpi(size.cx, dpi), scaleForDpi(size.cy, dpi), dpi);
            for (const auto& [id, rect] : scaled) {
                SCOPED_TRACE(testing::Message() << dpi << " dpi, " << size.cx << " x " << size.cy << ", id " << id);
                const RECT& own = design.at(id);
                const LONG edges[][2] = {{rect.left, own.left}, {rect.top, own.top}, {rect.right, own.right},
                                         {rect.bottom, own.bottom}};
                for (const auto& [edge, designEdge] : edges) EXPECT_NEAR(edge, scaleForDpi(designEdge, dpi), 1);
                RECT overlap{};
                for (const auto& [other, otherRect] : scaled)
                    EXPECT_FALSE(other > id && IntersectRect(&overlap, &rect, &otherRect)) << other;
            }
        }
    }
}

TEST_F(MainWindowTest, ControlsLandWhereTheLayoutPutsThemAtTheWindowDpi)
{
    setClientSize(px(1100), px(760));
    for (auto [id, expected] : placementsById(px(1100), px(760), GetDpiForWindow(window()))) {
        const RECT actual = placement(static_cast<ControlId>(id));
        // A closed combo box keeps the height the platform gives it.
        if (id == kFormatCombo || id == kScaleCombo) expected.bottom = actual.bottom;
        EXPECT_TRUE(EqualRect(&actual, &expected)) << id << " at " << actual.left << ',' << actual.top << ','
                                                   << actual.right << ',' << actual.bottom;
    }
}

TEST_F(MainWindowTest, PaintsHeaderBandBackgroundFrameAndIconAtTheWindowDpi)
{
    const UINT dpi = GetDpiForWindow(window());
    const int width = px(1264);
    const int panelX = columnGeometry(width, dpi).panelX;
    setClientSize(width, px(781));
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC hdc = GetDC(window());
    // The band's last row and the one below, the background, inside and on the panel frame, below it.
    const std::pair<POINT, COLORREF> samples[] = {
        {{px(600), px(5)}, kHeaderColour},      {{px(900), px(78) - 1}, kHeaderColour},
        {{px(900), px(78)}, kBackgroundColour}, {{px(10), px(300)}, kBackgroundColour},
        {{panelX - px(7), px(640)}, kBackgroundColour},   {{panelX - px(12), px(300)}, kFrameColour},
        {{px(900), px(86)}, kFrameColour},      {{px(900), panelFrameBottom(px(781), dpi) - 1}, kFrameColour},
        {{px(900), px(700)}, kBackgroundColour}};
    for (const auto& [at, colour] : samples) EXPECT_EQ(GetPixel(hdc, at.x, at.y), colour) << at.x << ',' << at.y;
    int iconPixels = 0;
    for (int y = px(14); y < px(62); ++y)
        for (int x = width - px(66); x < width - px(18); ++x) iconPixels += GetPixel(hdc, x, y) != kHeaderColour;
    int titlePixels = 0;
    for (int y = px(13); y < px(48); ++y)
        for (int x = px(24); x < px(140); ++x) titlePixels += GetPixel(hdc, x, y) == RGB(255, 255, 255);
    ReleaseDC(window(), hdc);
    EXPECT_GT(iconPixels, px(500)) << "the icon is drawn 18 pixels (at 96 DPI) from the right edge";
    EXPECT_GT(titlePixels, px(50)) << "the product name is drawn in white";
}
