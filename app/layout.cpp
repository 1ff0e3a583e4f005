// Lays out the two columns under the header band and paints what is not a
// control. All positions are fixed client pixels; only the list and the
// panel's width follow the window.
#include "app/layout.h"

#include <algorithm>
#include <string_view>

#include "app/drawing_objects.h"
#include "app/gdi.h"

namespace {
constexpr int kHeaderHeight = 78;
constexpr int kHeaderIconSize = 48;

void drawText(HDC hdc, int x, int y, std::wstring_view text)
{
    TextOutW(hdc, x, y, text.data(), static_cast<int>(text.size()));
}
}  // namespace

ColumnGeometry columnGeometry(int clientWidth)
{
    const int listWidth = std::max(420, static_cast<int>(clientWidth * 0.55));
    const int panelX = listWidth + 42;
    return {listWidth, panelX, std::max(330, clientWidth - panelX - 24)};
}

std::array<ControlPlacement, 23> controlPlacements(int clientWidth, int clientHeight)
{
    const auto [listWidth, panelX, panelWidth] = columnGeometry(clientWidth);
    const int listHeight = std::max(240, clientHeight - 248);
    const int footerBase = std::max(clientHeight, 488);
    const int sliderWidth = std::max(100, panelWidth - 166);
    return {{
        {kImageListView, 24, 130, listWidth, listHeight},
        {kAddImagesButton, 24, 96, 132, 30},
        {kRemoveImagesButton, 164, 96, 142, 30},
        {kClearImagesButton, 314, 96, 112, 30},
        {kSummaryText, 24, footerBase - 109, listWidth, 24},
        {kProgressBar, 24, footerBase - 79, listWidth, 18},
        {kStatusText, 24, footerBase - 55, listWidth, 42},
        {kFormatCombo, panelX, 118, panelWidth, 220},
        {kTargetFolderEdit, panelX, 183, panelWidth - 102, 30},
        {kPickFolderButton, panelX + panelWidth - 94, 183, 94, 30},
        {kScaleCombo, panelX, 248, panelWidth, 220},
        {kWidthEdit, panelX + 76, 291, 82, 28},
        {kWidthTrackbar, panelX + 166, 287, sliderWidth, 34},
        {kHeightEdit, panelX + 76, 335, 82, 28},
        {kHeightTrackbar, panelX + 166, 331, sliderWidth, 34},
        {kPercentEdit, panelX + 76, 379, 82, 28},
        {kPercentTrackbar, panelX + 166, 375, sliderWidth, 34},
        {kKeepAspectCheck, panelX, 415, panelWidth, 30},
        {kQualityTrackbar, panelX, 470, panelWidth - 70, 34},
        {kQualityLabel, panelX + panelWidth - 64, 474, 64, 25},
        {kForecastText, panelX, 513, panelWidth, 54},
        {kStartButton, panelX, 574, panelWidth, 42},
        {kOpenFolderButton, panelX, 624, panelWidth, 32},
    }};
}

int panelFrameBottom(int clientBottom)
{
    return std::min(clientBottom - 14, 676);
}

void layoutControls(int clientWidth, int clientHeight)
{
    for (const ControlPlacement& placement : controlPlacements(clientWidth, clientHeight)) {
        MoveWindow(control(placement.id), placement.left, placement.top, placement.width,
                   placement.height, TRUE);
    }
}

void paintHeader(HDC hdc, int clientWidth)
{
    RECT client{};
    GetClientRect(mainWindow(), &client);

    const RECT band{0, 0, clientWidth, kHeaderHeight};
    {
        GdiObject bandBrush(CreateSolidBrush(kHeaderColour));
        FillRect(hdc, &band, static_cast<HBRUSH>(bandBrush.get()));
    }

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    {
        SelectScope title(hdc, titleFont());
        drawText(hdc, 24, 13, L"Lumora");
    }
    {
        SelectScope maker(hdc, uiFont());
        drawText(hdc, 25, 49, L"Stapelkonvertierung mit Windows-Bordmitteln  \u2022  Version 1.2.0");
    }

    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow(), GWLP_HINSTANCE));
    IconHandle icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                  kHeaderIconSize, kHeaderIconSize, LR_DEFAULTCOLOR)));
    if (icon) {
        DrawIconEx(hdc, clientWidth - 66, 14, icon.get(), kHeaderIconSize, kHeaderIconSize, 0,
                   nullptr, DI_NORMAL);
    }

    const ColumnGeometry columns = columnGeometry(clientWidth);
    SetTextColor(hdc, kTextColour);
    {
        SelectScope captionFont(hdc, uiFontSemibold());
        constexpr std::pair<std::wstring_view, int> kCaptions[] = {
            {L"Zielformat", 96},  {L"Zielverzeichnis", 161}, {L"Skalierung", 226},
            {L"Breite", 297},     {L"H\u00f6he", 341},        {L"Prozent", 385},
            {L"Qualit\u00e4t / Komprimierung", 450},
        };
        for (const auto& [caption, top] : kCaptions) drawText(hdc, columns.panelX, top, caption);
    }

    GdiObject framePen(CreatePen(PS_SOLID, 1, kFrameColour));
    SelectScope pen(hdc, framePen.get());
    SelectScope hollow(hdc, GetStockObject(NULL_BRUSH));
    RoundRect(hdc, columns.panelX - 12, 86, columns.panelX + columns.panelWidth + 12,
              panelFrameBottom(client.bottom), 12, 12);
}
