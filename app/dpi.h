// Every length of the window is designed at 96 DPI and scaled to the window's
// DPI by this one rule, so all of them round alike.
#pragma once

#include <windows.h>

inline constexpr UINT kDesignDpi = USER_DEFAULT_SCREEN_DPI;

// MulDiv rounds halves away from zero, also for the negative font heights.
inline int scaleForDpi(int length, UINT dpi)
{
    return MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}
