// Enabling per scale mode, the edit/slider pairs and the busy lock.
#include "settings/settings_panel.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "settings/scaling.h"
#include "settings/settings_reader.h"

namespace {
bool gBusy = false;
// The control that had the focus when a lock took it away, to get it back.
HWND gFocusBeforeLock = nullptr;

struct SliderPair {
    ControlId edit;
    ControlId trackbar;
    std::int32_t fallback;  // these differ from the target-size rule's defaults on purpose
    std::int32_t upperBound;
};

constexpr SliderPair kPairs[] = {
    {kWidthEdit, kWidthTrackbar, 1920, 10000},
    {kHeightEdit, kHeightTrackbar, 1080, 10000},
    {kPercentEdit, kPercentTrackbar, 100, 500},
};

constexpr ControlId kLockList[] = {
    kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kFormatCombo, kTargetFolderEdit,
    kPickFolderButton, kScaleCombo, kWidthEdit, kHeightEdit, kPercentEdit, kKeepAspectCheck,
    kWidthTrackbar, kHeightTrackbar, kPercentTrackbar, kQualityTrackbar, kStartButton, kOpenFolderButton,
};

void enable(ControlId id, bool enabled)
{
    EnableWindow(control(id), enabled ? TRUE : FALSE);
}

// A disabled control keeps no focus, and a window without one gets its keys
// as WM_SYSKEYDOWN, which no dialog handling sees: so the focus moves to the
// control that stays usable, and back once the lock is gone.
void lockPanel(bool locked, ControlId haven)
{
    HWND focus = GetFocus();
    for (const ControlId id : kLockList) enable(id, !locked || id == haven);
    if (locked) {
        gFocusBeforeLock = nullptr;
        if (focus && IsChild(mainWindow(), focus) && !IsWindowEnabled(focus)) {
            gFocusBeforeLock = focus;
            SetFocus(control(haven));
        }
        return;
    }
    updateScaleControls();
    if (!gFocusBeforeLock) return;
    SetFocus(IsWindowEnabled(gFocusBeforeLock) ? gFocusBeforeLock : control(kStartButton));
    gFocusBeforeLock = nullptr;
}
}  // namespace

void updateScaleControls()
{
    // Used as it comes: a negative selection enables nothing.
    const auto selection = SendMessageW(control(kScaleCombo), CB_GETCURSEL, 0, 0);
    const bool keep = SendMessageW(control(kKeepAspectCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool percent = selection == static_cast<LRESULT>(ScaleMode::Percent);
    const bool fixedWidth = selection == static_cast<LRESULT>(ScaleMode::FixedWidth);
    const bool fixedHeight = selection == static_cast<LRESULT>(ScaleMode::FixedHeight);
    const bool exact = selection == static_cast<LRESULT>(ScaleMode::ExactSize);
    const bool width = fixedWidth || exact || (fixedHeight && !keep);
    const bool height = fixedHeight || exact || (fixedWidth && !keep);

    enable(kPercentEdit, percent);
    enable(kPercentTrackbar, percent);
    enable(kWidthEdit, width);
    enable(kWidthTrackbar, width);
    enable(kHeightEdit, height);
    enable(kHeightTrackbar, height);
    enable(kKeepAspectCheck, fixedWidth || fixedHeight || exact);
}

void setPanelBusy(bool busy)
{
    gBusy = busy;
    lockPanel(busy, kStartButton);
}

void setPanelLocked(bool locked)
{
    lockPanel(locked, kImageListView);
}

bool isPanelBusy()
{
    return gBusy;
}

void syncTrackbarFromEdit(ControlId edit)
{
    for (const SliderPair& pair : kPairs) {
        if (pair.edit != edit) continue;
        const std::int32_t value = readIntSetting(control(pair.edit), pair.fallback, pair.upperBound);
        SendMessageW(control(pair.trackbar), TBM_SETPOS, TRUE, value);
    }
}

void syncEditFromTrackbar(ControlId trackbar)
{
    for (const SliderPair& pair : kPairs) {
        if (pair.trackbar != trackbar) continue;
        const auto position = static_cast<long>(SendMessageW(control(pair.trackbar), TBM_GETPOS, 0, 0));
        SetWindowTextW(control(pair.edit), std::to_wstring(position).c_str());
    }
}
