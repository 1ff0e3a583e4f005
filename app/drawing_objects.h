// The fonts and the brush that every control and every paint share; they live
// from start-up to the end of the message loop.
#pragma once

#include <windows.h>

#include <array>

#include "app/gdi.h"

// The background brush; the fonts follow with the window's DPI.
void createDrawingObjects();
// Builds uiFont, uiFontSemibold and titleFont for this DPI. Returns the fonts
// they replace, to be dropped only once no control uses them any more.
[[nodiscard]] std::array<GdiObject, 3> createFonts(UINT dpi);
// Deletes uiFont, uiFontSemibold, titleFont, then backgroundBrush.
void destroyDrawingObjects();

HFONT uiFont();
HFONT uiFontSemibold();
HFONT titleFont();
HBRUSH backgroundBrush();

// The icon group of the program's resources: class icons and the header icon.
inline constexpr int kIconResource = 101;

inline constexpr COLORREF kBackgroundColour = RGB(246, 248, 252);
inline constexpr COLORREF kTextColour = RGB(29, 38, 53);
inline constexpr COLORREF kHeaderColour = RGB(20, 74, 138);
inline constexpr COLORREF kFrameColour = RGB(222, 228, 237);
