// The settings panel's behaviour: which scale controls are enabled, edits and
// sliders in step, and the lock held while a batch run is active.
#pragma once

#include "app/controls.h"

void updateScaleControls();
void setPanelBusy(bool busy);
// Disables or re-enables the panel, the list buttons and the start button without
// touching the busy flag: reading files added to the list locks them too.
void setPanelLocked(bool locked);
bool isPanelBusy();
void syncTrackbarFromEdit(ControlId edit);
void syncEditFromTrackbar(ControlId trackbar);
