// The settings panel on the real window: which scale controls each mode
// enables and the edit and slider pairs; the lock is the reading's and the run's business.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <tuple>
#include <utility>

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

// Every other control stays enabled.
void expectEnabling(const char* scaleControlsEnabled)
{
    for (int id = kImageListView; id <= kPercentTrackbar; ++id) {
        bool on = true;
        for (const auto& [scaleId, letter] : kScaleControls)
            if (scaleId == id) on = std::strchr(scaleControlsEnabled, letter) != nullptr;
        EXPECT_EQ(IsWindowEnabled(control(ControlId(id))) != FALSE, on) << id;
    }
}

void setKeepAspect(bool keep) { SendMessageW(control(kKeepAspectCheck), BM_SETCHECK, keep ? BST_CHECKED : 0, 0); }
}  // namespace

TEST_F(MainWindowTest, EnablesTheScaleControlsEachModeUses)
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

TEST_F(MainWindowTest, EditsAndSlidersKeepInStepWithThePairsOwnDefaultsAndBounds)
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
