// Reading order, default button and focus memory of the main window.
#include "app/keyboard.h"

#include "app/controls.h"

namespace {
// The left column top to bottom (its buttons sit above the list), then the
// panel top to bottom (in each scale row the edit before its slider).
constexpr ControlId kReadingOrder[] = {
    kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kImageListView, kFormatCombo,
    kTargetFolderEdit, kPickFolderButton, kScaleCombo, kWidthEdit, kWidthTrackbar,
    kHeightEdit, kHeightTrackbar, kPercentEdit, kPercentTrackbar, kKeepAspectCheck,
    kQualityTrackbar, kStartButton, kOpenFolderButton,
};

HWND gFocusWhileInactive = nullptr;
}  // namespace

void stackControlsInReadingOrder()
{
    HWND above = HWND_TOP;
    for (const ControlId id : kReadingOrder) {
        SetWindowPos(control(id), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control(id);
    }
}

void keepFocusAcrossActivation(HWND window, WPARAM activation)
{
    if (LOWORD(activation) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); IsChild(window, focus)) gFocusWhileInactive = focus;
        return;
    }
    // A minimised window takes no focus.
    if (HIWORD(activation)) return;
    SetFocus(IsChild(window, gFocusWhileInactive) ? gFocusWhileInactive : control(kAddImagesButton));
}

LRESULT defaultButton()
{
    return MAKELRESULT(kStartButton, DC_HASDEFID);
}

// Tab hands the default frame to the push button it reaches, as in dialogs, but
// outside a dialog nothing hands it back when the focus moves on.
void showDefaultButton()
{
    constexpr LRESULT kPushButton = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;
    if (SendMessageW(GetFocus(), WM_GETDLGCODE, 0, 0) & kPushButton) return;
    HWND start = control(kStartButton);
    if (SendMessageW(start, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)
        SendMessageW(start, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}
