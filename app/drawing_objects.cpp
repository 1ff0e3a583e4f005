// Builds the three fonts from the system's message font at the window's DPI,
// and the background brush.
#include "app/drawing_objects.h"

#include <cwchar>
#include <utility>

#include "app/dpi.h"
#include "app/gdi.h"

namespace {
GdiObject gUiFont;
GdiObject gUiFontSemibold;
GdiObject gTitleFont;
GdiObject gBackgroundBrush;
}  // namespace

void createDrawingObjects()
{
    gBackgroundBrush.reset(CreateSolidBrush(kBackgroundColour));
}

std::array<GdiObject, 3> createFonts(UINT dpi)
{
    std::array<GdiObject, 3> replaced{std::move(gUiFont), std::move(gUiFontSemibold), std::move(gTitleFont)};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);

    LOGFONTW font = metrics.lfMessageFont;
    wcsncpy(font.lfFaceName, L"Segoe UI", LF_FACESIZE - 1);
    font.lfHeight = scaleForDpi(-16, dpi);
    gUiFont.reset(CreateFontIndirectW(&font));
    font.lfWeight = 600;
    gUiFontSemibold.reset(CreateFontIndirectW(&font));
    font.lfHeight = scaleForDpi(-29, dpi);
    gTitleFont.reset(CreateFontIndirectW(&font));
    return replaced;
}

void destroyDrawingObjects()
{
    gUiFont.reset();
    gUiFontSemibold.reset();
    gTitleFont.reset();
    gBackgroundBrush.reset();
}

HFONT uiFont()
{
    return static_cast<HFONT>(gUiFont.get());
}

HFONT uiFontSemibold()
{
    return static_cast<HFONT>(gUiFontSemibold.get());
}

HFONT titleFont()
{
    return static_cast<HFONT>(gTitleFont.get());
}

HBRUSH backgroundBrush()
{
    return static_cast<HBRUSH>(gBackgroundBrush.get());
}
