// The main window handle and its DPI, stored when the window is created, and
// control lookup by id.
#include "app/controls.h"

#include <windows.h>

namespace {
HWND gMainWindow = nullptr;
UINT gMainWindowDpi = USER_DEFAULT_SCREEN_DPI;
}

HWND mainWindow()
{
    return gMainWindow;
}

void setMainWindow(HWND hwnd)
{
    gMainWindow = hwnd;
}

UINT mainWindowDpi()
{
    return gMainWindowDpi;
}

void setMainWindowDpi(UINT dpi)
{
    gMainWindowDpi = dpi;
}

HWND control(ControlId id)
{
    return GetDlgItem(gMainWindow, id);
}

std::wstring readControlText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}
