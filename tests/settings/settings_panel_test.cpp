// The settings panel on the real window: which scale controls each mode
// enables, the busy lock, the edit and slider pairs and the texts the images are sized by.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "settings/settings_panel.h"
#include "support/main_window_fixture.h"

namespace {
// Per scale-combo selection and tick, the scale controls enabled: the Percent,
// Width and Height pairs and the Keep-aspect checkbox.
const std::tuple<int, bool, const char*> kEnablingTable[] = {
    {0, true, ""},   {0, false, ""},    {1, true, "P"},   {1, false, "P"},   {2, true, "WK"}, {2, false, "WHK"},
    {3, true, "HK"}, {3, false, "WHK"}, {4, true, "WHK"}, {4, false, "WHK"}, {-1, true, ""},  {-1, false, ""},
};

const std::pair<ControlId, char> kScaleControls[] = {
    {kPercentEdit, 'P'}, {kPercentTrackbar, 'P'}, {kWidthEdit, 'W'},       {kWidthTrackbar, 'W'},
    {kHeightEdit, 'H'},  {kHeightTrackbar, 'H'},  {kKeepAspectCheck, 'K'},
};

// What a run leaves enabled; it locks every other control.
const ControlId kNeverLocked[] = {
    kImageListView, kQualityLabel, kForecastText, kProgressBar, kStatusText, kSummaryText};

class SettingsPanelTest : public MainWindowTest {
protected:
    void setKeepAspect(bool keep)
    {
        SendMessageW(control(kKeepAspectCheck), BM_SETCHECK, keep ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void expectEnabling(const char* scaleControlsEnabled, bool busy = false)
    {
        for (int id = kImageListView; id <= kPercentTrackbar; ++id) {
            bool on = !busy || std::ranges::count(kNeverLocked, id) > 0;
            for (const auto& [scaleId, letter] : kScaleControls) {
                if (scaleId == id && !busy) on = std::strchr(scaleControlsEnabled, letter) != nullptr;
            }
            EXPECT_EQ(enabled(ControlId(id)), on) << id;
        }
    }
};
}  // namespace

TEST_F(SettingsPanelTest, EnablesTheScaleControlsEachModeUses)
{
    for (const auto& [selection, keep, scaleControlsEnabled] : kEnablingTable) {
        // Reached once through the scale combo and once through the checkbox,
        // starting from the other tick so that a missed update shows.
        for (const bool viaCheckbox : {false, true}) {
            SCOPED_TRACE(testing::Message() << selection << (keep ? " keep" : "") << (viaCheckbox ? " via box" : ""));
            setKeepAspect(keep != viaCheckbox);
            selectCombo(kScaleCombo, selection);
            if (viaCheckbox) {
                setKeepAspect(keep);
                click(kKeepAspectCheck);
            }
            expectEnabling(scaleControlsEnabled);
        }
    }
}

TEST_F(SettingsPanelTest, BusyLocksThePanelAndUnlockingReappliesTheMode)
{
    for (int id = kImageListView; id <= kPercentTrackbar; ++id) EnableWindow(control(ControlId(id)), TRUE);
    // The mode changes while locked, which tells working the states out afresh
    // on unlocking apart from restoring those from before the lock.
    for (const auto& [selection, scaleControlsEnabled] : {std::pair(2, "WK"), std::pair(0, "")}) {
        SCOPED_TRACE(selection);
        setPanelBusy(true);
        expectEnabling("", true);
        SendMessageW(control(kScaleCombo), CB_SETCURSEL, selection, 0);
        setPanelBusy(false);
        expectEnabling(scaleControlsEnabled);
    }
}

TEST_F(SettingsPanelTest, EditsAndSlidersKeepInStepWithThePairsOwnDefaultsAndBounds)
{
    // Edit, its slider, the text typed and the slider's position for it.
    const std::tuple<ControlId, ControlId, const wchar_t*, int> cases[] = {
        {kWidthEdit, kWidthTrackbar, L"20000", 10000},   {kWidthEdit, kWidthTrackbar, L"", 1920},
        {kHeightEdit, kHeightTrackbar, L"20000", 10000}, {kHeightEdit, kHeightTrackbar, L"", 1080},
        {kPercentEdit, kPercentTrackbar, L"900", 500},   {kPercentEdit, kPercentTrackbar, L"abc", 100},
    };
    for (const auto& [edit, trackbar, typed, position] : cases) {
        SCOPED_TRACE(testing::Message() << edit << " \"" << typed << '"');
        // Starting elsewhere, so that a slider that did not move is noticed.
        SendMessageW(control(trackbar), TBM_SETPOS, TRUE, 7);
        typeInto(edit, typed);
        EXPECT_EQ(SendMessageW(control(trackbar), TBM_GETPOS, 0, 0), position);
        EXPECT_EQ(text(edit), typed);
        // And back: each slider writes its own edit.
        moveTrackbar(trackbar, trackbar - 1000);
        EXPECT_EQ(text(edit), std::to_wstring(trackbar - 1000));
    }
}

TEST_F(SettingsPanelTest, EmptyOrUnreadableTextsMeanEachImagesOwnSize)
{
    imageList().append({L"C:\\Bilder\\gross.jpg", 4000, 3000, 500000});
    imageList().append({L"C:\\Bilder\\klein.png", 640, 480, 90000});
    rebuildImageListView();
    setKeepAspect(false);
    // Exact size without the aspect ratio reads both sides; percent reads its own edit.
    for (const int selection : {4, 1}) {
        selectCombo(kScaleCombo, selection);
        typeInto(kWidthEdit, L"");
        typeInto(kHeightEdit, L"x");
        typeInto(kPercentEdit, L"abc");
        EXPECT_EQ(cell(0, 3), L"4000 \u00d7 3000") << selection;
        EXPECT_EQ(cell(1, 3), L"640 \u00d7 480") << selection;
    }
}
