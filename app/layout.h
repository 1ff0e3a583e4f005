// Where every control sits for a given client size, and the painted parts of
// the window: header band, captions and the settings panel's frame.
#pragma once

#include <windows.h>

#include <array>

#include "app/controls.h"

struct ColumnGeometry {
    int listWidth;
    int panelX;
    int panelWidth;
};

struct ControlPlacement {
    ControlId id;
    int left;
    int top;
    int width;
    int height;
};

inline constexpr SIZE kMinimumTrackingSize{1020, 740};

ColumnGeometry columnGeometry(int clientWidth);
// The 23 rectangles in the order the controls are moved.
std::array<ControlPlacement, 23> controlPlacements(int clientWidth, int clientHeight);
// Bottom edge of the settings panel's rounded frame.
int panelFrameBottom(int clientBottom);

void layoutControls(int clientWidth, int clientHeight);
void paintHeader(HDC hdc, int clientWidth);
