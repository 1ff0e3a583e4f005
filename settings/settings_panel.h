// The settings panel's behaviour: which scale controls are enabled, edits and
// sliders in step, and the lock held while a batch run is active.
#pragma once

#include "app/controls.h"

void updateScaleControls();
// Locks the panel for a run: only the start button stays usable, and it takes
// the focus from a control being disabled.
void setPanelBusy(bool busy);
// Disables or re-enables the panel, the list buttons and the start button without
// touching the busy flag: reading files added to the list locks them too. The
// list takes the focus from a control being disabled.
void setPanelLocked(bool locked);
bool isPanelBusy();
void syncTrackbarFromEdit(ControlId edit);
void syncEditFromTrackbar(ControlId trackbar);
