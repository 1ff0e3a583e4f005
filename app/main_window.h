// The main window: its class, its 23 child controls and the window procedure
// that hands every message to the handler that owns it.
#pragma once

#include <windows.h>

inline constexpr wchar_t kMainWindowClass[] = L"Lumora.MainWindow";
inline constexpr wchar_t kMainWindowTitle[] = L"Lumora v1.2.0 \u2013 Bildkonverter";

// Needs the drawing objects to exist.
ATOM registerMainWindowClass(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);

void createControls();
LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
