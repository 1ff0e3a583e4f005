// Lays out the two columns under the header band and paints what is not a
// control. Every length is a 96 DPI design value scaled to the window's DPI;
// only the list and the panel's width follow the window's size.
#include "app/layout.h"

#include <algorithm>
#include <string_view>

#include "app/dpi.h"
#include "app/drawing_objects.h"
#include "app/gdi.h"

namespace {
// Scales design lengths: px(24) is 24 pixels at 96 DPI, 36 at 144.
struct Scale {
    UINT dpi;
    int operator()(int length) const { return scaleForDpi(length, dpi); }
};

void drawText(HDC hdc, int x, int y, std::wstring_view text)
{
    TextOutW(hdc, x, y, text.data(), static_cast<int>(text.size()));
}
}  // namespace

SIZE minimumTrackingSize(UINT dpi)
{
    return {scaleForDpi(1020, dpi), scaleForDpi(740, dpi)};
}

ColumnGeometry columnGeometry(int clientWidth, UINT dpi)
{
    const Scale px{dpi};
    const int listWidth = std::max(px(420), static_cast<int>(clientWidth * 0.55));
    const int panelX = listWidth + px(42);
    return {listWidth, panelX, std::max(px(330), clientWidth - panelX - px(24))};
}

std::array<ControlPlacement, 23> controlPlacements(int clientWidth, int clientHeight, UINT dpi)
{
    const Scale px{dpi};
    const auto [listWidth, panelX, panelWidth] = columnGeometry(clientWidth, dpi);
    const int listHeight = std::max(px(240), clientHeight - px(248));
    const int footerBase = std::max(clientHeight, px(488));
    const int sliderX = panelX + px(166);
    const int sliderWidth = std::max(px(100), panelWidth - px(166));
    const int editX = panelX + px(76);
    return {{
        {kImageListView, px(24), px(130), listWidth, listHeight},
        {kAddImagesButton, px(24), px(96), px(132), px(30)},
        {kRemoveImagesButton, px(164), px(96), px(142), px(30)},
        {kClearImagesButton, px(314), px(96), px(112), px(30)},
        {kSummaryText, px(24), footerBase - px(109), listWidth, px(24)},
        {kProgressBar, px(24), footerBase - px(79), listWidth, px(18)},
        {kStatusText, px(24), footerBase - px(55), listWidth, px(42)},
        {kFormatCombo, panelX, px(118), panelWidth, px(220)},
        {kTargetFolderEdit, panelX, px(183), panelWidth - px(102), px(30)},
        {kPickFolderButton, panelX + panelWidth - px(94), px(183), px(94), px(30)},
        {kScaleCombo, panelX, px(248), panelWidth, px(220)},
        {kWidthEdit, editX, px(291), px(82), px(28)},
        {kWidthTrackbar, sliderX, px(287), sliderWidth, px(34)},
        {kHeightEdit, editX, px(335), px(82), px(28)},
        {kHeightTrackbar, sliderX, px(331), sliderWidth, px(34)},
        {kPercentEdit, editX, px(379), px(82), px(28)},
        {kPercentTrackbar, sliderX, px(375), sliderWidth, px(34)},
        {kKeepAspectCheck, panelX, px(415), panelWidth, px(30)},
        {kQualityTrackbar, panelX, px(470), panelWidth - px(70), px(34)},
        {kQualityLabel, panelX + panelWidth - px(64), px(474), px(64), px(25)},
        {kForecastText, panelX, px(513), panelWidth, px(54)},
        {kStartButton, panelX, px(574), panelWidth, px(42)},
        {kOpenFolderButton, panelX, px(624), panelWidth, px(32)},
    }};
}

int panelFrameBottom(int clientBottom, UINT dpi)
{
    return std::min(clientBottom - scaleForDpi(14, dpi), scaleForDpi(676, dpi));
}

void layoutControls(int clientWidth, int clientHeight)
{
    for (const ControlPlacement& placement : controlPlacements(clientWidth, clientHeight, mainWindowDpi())) {
        MoveWindow(control(placement.id), placement.left, placement.top, placement.width,
                   placement.height, TRUE);
    }
}

void paintHeader(HDC hdc, int clientWidth)
{
    const UINT dpi = mainWindowDpi();
    const Scale px{dpi};
    RECT client{};
    GetClientRect(mainWindow(), &client);

    const RECT band{0, 0, clientWidth, px(78)};
    {
        GdiObject bandBrush(CreateSolidBrush(kHeaderColour));
        FillRect(hdc, &band, static_cast<HBRUSH>(bandBrush.get()));
    }

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    {
        SelectScope title(hdc, titleFont());
        drawText(hdc, px(24), px(13), L"Lumora");
    }
    {
        SelectScope maker(hdc, uiFont());
        drawText(hdc, px(25), px(49), L"Stapelkonvertierung mit Windows-Bordmitteln  \u2022  Version 1.2.0");
    }

    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow(), GWLP_HINSTANCE));
    const int iconSize = px(48);
    IconHandle icon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
    if (icon) DrawIconEx(hdc, clientWidth - px(66), px(14), icon.get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);

    const ColumnGeometry columns = columnGeometry(clientWidth, dpi);
    SetTextColor(hdc, kTextColour);
    {
        SelectScope captionFont(hdc, uiFontSemibold());
        constexpr std::pair<std::wstring_view, int> kCaptions[] = {
            {L"Zielformat", 96},  {L"Zielverzeichnis", 161}, {L"Skalierung", 226},
            {L"Breite", 297},     {L"H\u00f6he", 341},        {L"Prozent", 385},
            {L"Qualit\u00e4t / Komprimierung", 450},
        };
        for (const auto& [caption, top] : kCaptions) drawText(hdc, columns.panelX, px(top), caption);
    }

    GdiObject framePen(CreatePen(PS_SOLID, px(1), kFrameColour));
    SelectScope pen(hdc, framePen.get());
    SelectScope hollow(hdc, GetStockObject(NULL_BRUSH));
    RoundRect(hdc, columns.panelX - px(12), px(86), columns.panelX + columns.panelWidth + px(12),
              panelFrameBottom(client.bottom, dpi), px(12), px(12));
}
