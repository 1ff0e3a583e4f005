// Where every control sits for a given client size and DPI, and the painted
// parts of the window: header band, captions and the settings panel's frame.
#pragma once

#include <windows.h>

#include <array>

#include "app/controls.h"

struct ColumnGeometry {
    int listWidth;
    int panelX;
    int panelWidth;
    bool operator==(const ColumnGeometry&) const = default;
};

struct ControlPlacement {
    ControlId id;
    int left;
    int top;
    int width;
    int height;
};

SIZE minimumTrackingSize(UINT dpi);
ColumnGeometry columnGeometry(int clientWidth, UINT dpi);
// The 23 rectangles in the order the controls are moved.
std::array<ControlPlacement, 23> controlPlacements(int clientWidth, int clientHeight, UINT dpi);
// Bottom edge of the settings panel's rounded frame.
int panelFrameBottom(int clientBottom, UINT dpi);

// Both work at the main window's DPI.
void layoutControls(int clientWidth, int clientHeight);
void paintHeader(HDC hdc, int clientWidth);
