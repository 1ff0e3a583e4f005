// How every handler reaches the window: the control ids, the main window
// handle and reading a control's text.
#pragma once

#include <windows.h>

#include <string>

enum ControlId : int {
    kImageListView = 1001,
    kAddImagesButton = 1002,
    kRemoveImagesButton = 1003,
    kClearImagesButton = 1004,
    kFormatCombo = 1005,
    kTargetFolderEdit = 1006,
    kPickFolderButton = 1007,
    kScaleCombo = 1008,
    kWidthEdit = 1009,
    kHeightEdit = 1010,
    kPercentEdit = 1011,
    kKeepAspectCheck = 1012,
    kQualityTrackbar = 1013,
    kQualityLabel = 1014,
    kForecastText = 1015,
    kStartButton = 1016,
    kProgressBar = 1017,
    kStatusText = 1018,
    kOpenFolderButton = 1019,
    kSummaryText = 1020,
    kWidthTrackbar = 1021,
    kHeightTrackbar = 1022,
    kPercentTrackbar = 1023,
};

HWND mainWindow();
void setMainWindow(HWND hwnd);
// The DPI the window is laid out for: its own at creation, then the one each
// WM_DPICHANGED names.
UINT mainWindowDpi();
void setMainWindowDpi(UINT dpi);
HWND control(ControlId id);

// The control's whole current text.
std::wstring readControlText(HWND hwnd);
