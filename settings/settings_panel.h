// The settings panel's behaviour: which scale controls are enabled, edits and
// sliders in step, and the lock held while a batch run is active.
#pragma once

#include "app/controls.h"

void updateScaleControls();
void setPanelBusy(bool busy);
bool isPanelBusy();
void syncTrackbarFromEdit(ControlId edit);
void syncEditFromTrackbar(ControlId trackbar);
