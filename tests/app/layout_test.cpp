// Where the controls land for a client size, checked both as arithmetic and on
// the real window, and the painted header, background and panel frame.
#include <map>

#include "app/drawing_objects.h"
#include "app/layout.h"
#include "support/main_window_fixture.h"

namespace {
std::map<int, RECT> placementsById(int width, int height)
{
    std::map<int, RECT> byId;
    for (const ControlPlacement& p : controlPlacements(width, height))
        byId[p.id] = RECT{p.left, p.top, p.left + p.width, p.top + p.height};
    return byId;
}

RECT clientRectOf(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
}  // namespace

TEST(Layout, ColumnsFollowTheClientWidthWithTheirMinimums)
{
    EXPECT_EQ(columnGeometry(1264).listWidth, 695);
    EXPECT_EQ(columnGeometry(1264).panelX, 737);
    EXPECT_EQ(columnGeometry(1264).panelWidth, 503);
    EXPECT_EQ(columnGeometry(1004).listWidth, 552);
    EXPECT_EQ(columnGeometry(1004).panelX, 594);
    EXPECT_EQ(columnGeometry(1004).panelWidth, 386);
    // A minimised window reports 0 x 0.
    EXPECT_EQ(columnGeometry(0).listWidth, 420);
    EXPECT_EQ(columnGeometry(0).panelWidth, 330);
}

TEST(Layout, ListAndFooterFollowTheClientHeight)
{
    struct Case {
        int height, listHeight, summaryTop, progressTop, statusTop, frameBottom;
    };
    for (const Case& c : {Case{781, 533, 672, 702, 726, 676}, Case{650, 402, 541, 571, 595, 636},
                          Case{400, 240, 379, 409, 433, 386}, Case{0, 240, 379, 409, 433, -14}}) {
        SCOPED_TRACE(c.height);
        auto byId = placementsById(1264, c.height);
        EXPECT_EQ(byId[kImageListView].bottom - byId[kImageListView].top, c.listHeight);
        EXPECT_EQ(byId[kSummaryText].top, c.summaryTop);
        EXPECT_EQ(byId[kProgressBar].top, c.progressTop);
        EXPECT_EQ(byId[kStatusText].top, c.statusTop);
        EXPECT_EQ(panelFrameBottom(c.height), c.frameBottom);
    }
}

TEST(Layout, PanelRowsSitAtFixedHeightsAndStretchToThePanelWidth)
{
    auto byId = placementsById(1264, 781);
    EXPECT_EQ(byId.size(), 23u);
    EXPECT_EQ(byId[kTargetFolderEdit].right, 737 + 503 - 102);
    EXPECT_EQ(byId[kPickFolderButton].left, 737 + 503 - 94);  // 8 pixels after the edit
    EXPECT_EQ(byId[kWidthTrackbar].left, 737 + 166);
    EXPECT_EQ(byId[kWidthTrackbar].right, 737 + 503);
    EXPECT_EQ(byId[kHeightEdit].top - byId[kWidthEdit].top, 44);
    EXPECT_EQ(byId[kPercentEdit].top - byId[kHeightEdit].top, 44);
    EXPECT_EQ(byId[kQualityLabel].left - byId[kQualityTrackbar].right, 6);
    EXPECT_EQ(byId[kStartButton].top, 574);
    EXPECT_EQ(byId[kOpenFolderButton].bottom, 656);
}

TEST_F(MainWindowTest, ControlsLandWhereTheLayoutPutsThem)
{
    for (const SIZE size : {SIZE{1264, 781}, SIZE{1100, 760}}) {
        setClientSize(size.cx, size.cy);
        RECT client{};
        GetClientRect(window(), &client);
        ASSERT_EQ(client.right, size.cx);
        ASSERT_EQ(client.bottom, size.cy);
        for (const auto& [id, expected] : placementsById(size.cx, size.cy)) {
            SCOPED_TRACE(id);
            const RECT actual = clientRectOf(control(static_cast<ControlId>(id)));
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right, expected.right);
            // A closed combo box keeps the height the platform gives it.
            if (id != kFormatCombo && id != kScaleCombo) {
                EXPECT_EQ(actual.bottom, expected.bottom);
            }
        }
    }
}

TEST_F(MainWindowTest, PaintsHeaderBandBackgroundFrameAndIcon)
{
    setClientSize(1264, 781);
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC hdc = GetDC(window());
    ASSERT_NE(hdc, nullptr);
    const COLORREF band = GetPixel(hdc, 600, 5);
    const COLORREF bandBottom = GetPixel(hdc, 900, 77);
    const COLORREF belowBand = GetPixel(hdc, 900, 78);
    const COLORREF background = GetPixel(hdc, 10, 300);
    const COLORREF insidePanel = GetPixel(hdc, 730, 640);
    const COLORREF frameLeft = GetPixel(hdc, 737 - 12, 300);
    const COLORREF frameTop = GetPixel(hdc, 900, 86);
    const COLORREF frameBottom = GetPixel(hdc, 900, 675);
    const COLORREF belowFrame = GetPixel(hdc, 900, 700);
    int iconPixels = 0;
    for (int y = 14; y < 62; ++y)
        for (int x = 1264 - 66; x < 1264 - 18; ++x) iconPixels += GetPixel(hdc, x, y) != kHeaderColour;
    int titlePixels = 0;
    for (int y = 13; y < 48; ++y)
        for (int x = 24; x < 140; ++x) titlePixels += GetPixel(hdc, x, y) == RGB(255, 255, 255);
    ReleaseDC(window(), hdc);

    EXPECT_EQ(band, kHeaderColour);
    EXPECT_EQ(bandBottom, kHeaderColour);
    EXPECT_EQ(belowBand, kBackgroundColour);
    EXPECT_EQ(background, kBackgroundColour);
    EXPECT_EQ(insidePanel, kBackgroundColour);
    EXPECT_EQ(frameLeft, kFrameColour);
    EXPECT_EQ(frameTop, kFrameColour);
    EXPECT_EQ(frameBottom, kFrameColour);
    EXPECT_EQ(belowFrame, kBackgroundColour);
    EXPECT_GT(iconPixels, 500) << "the 48 x 48 icon is drawn 18 pixels from the right edge";
    EXPECT_GT(titlePixels, 50) << "the product name is drawn in white";
}
