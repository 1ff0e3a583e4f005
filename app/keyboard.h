// The main window without a mouse: Tab walks the controls in reading order,
// Enter presses "Konvertierung starten", and the focused control survives the
// window losing and regaining activation.
#pragma once

#include <windows.h>

// Tab follows the stacking order, which the creation order does not give.
void stackControlsInReadingOrder();
// WM_ACTIVATE: the first activation focuses the add-images button.
void keepFocusAcrossActivation(HWND window, WPARAM activation);
// What the main window answers to DM_GETDEFID, which IsDialogMessageW asks on Enter.
LRESULT defaultButton();
// After a key the dialog handling took: unless a push button has the focus, the
// start button shows the default frame again.
void showDefaultButton();
