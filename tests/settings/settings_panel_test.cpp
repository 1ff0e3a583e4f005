// The settings panel on the real window: which scale controls each mode
// enables, the edit and slider pairs, the quality label and the busy lock.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "imagelist/image_list.h"
#include "imagelist/image_list_view.h"
#include "settings/settings_panel.h"
#include "support/main_window_fixture.h"

namespace {
class SettingsPanelTest : public MainWindowTest {
protected:
    void setKeepAspect(bool keep)
    {
        SendMessageW(control(kKeepAspectCheck), BM_SETCHECK, keep ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // One listed entry, so that the target-size column shows what the settings mean.
    void listOneImage(std::uint32_t width, std::uint32_t height)
    {
        imageList().append({L"C:\\Bilder\\foto.jpg", width, height, 500000});
        rebuildImageListView();
    }
};

struct Enabling {
    int selection;
    bool keep;
    bool percent, width, height, checkbox;
};

const Enabling kEnablingTable[] = {
    {0, true, false, false, false, false},  {0, false, false, false, false, false},
    {1, true, true, false, false, false},   {1, false, true, false, false, false},
    {2, true, false, true, false, true},    {2, false, false, true, true, true},
    {3, true, false, false, true, true},    {3, false, false, true, true, true},
    {4, true, false, true, true, true},     {4, false, false, true, true, true},
    {-1, true, false, false, false, false}, {-1, false, false, false, false, false},
};

const ControlId kAllControls[] = {
    kImageListView,  kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kFormatCombo,
    kTargetFolderEdit, kPickFolderButton, kScaleCombo,      kWidthEdit,         kHeightEdit,
    kPercentEdit,    kKeepAspectCheck, kQualityTrackbar,    kQualityLabel,      kForecastText,
    kStartButton,    kProgressBar,     kStatusText,         kOpenFolderButton,  kSummaryText,
    kWidthTrackbar,  kHeightTrackbar,  kPercentTrackbar,
};

const ControlId kLockList[] = {
    kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kFormatCombo, kTargetFolderEdit,
    kPickFolderButton, kScaleCombo, kWidthEdit, kHeightEdit, kPercentEdit, kKeepAspectCheck,
    kWidthTrackbar, kHeightTrackbar, kPercentTrackbar, kQualityTrackbar, kStartButton, kOpenFolderButton,
};

// Whether the control is enabled in the row's mode while the panel is not busy.
bool enabledIn(const Enabling& row, ControlId id)
{
    if (id == kPercentEdit || id == kPercentTrackbar) return row.percent;
    if (id == kWidthEdit || id == kWidthTrackbar) return row.width;
    if (id == kHeightEdit || id == kHeightTrackbar) return row.height;
    return id == kKeepAspectCheck ? row.checkbox : true;
}
}  // namespace

TEST_F(SettingsPanelTest, EnablesTheScaleControlsEachModeUses)
{
    for (const Enabling& row : kEnablingTable) {
        // Reached once through the scale combo and once through the checkbox,
        // starting from the other tick so that a missed update shows.
        for (const bool viaCheckbox : {false, true}) {
            SCOPED_TRACE(testing::Message() << "selection " << row.selection << ", keep " << row.keep
                                            << (viaCheckbox ? ", via checkbox" : ""));
            setKeepAspect(row.keep != viaCheckbox);
            selectCombo(kScaleCombo, row.selection);
            if (viaCheckbox) {
                setKeepAspect(row.keep);
                click(kKeepAspectCheck);
            }
            for (const ControlId id : kAllControls) EXPECT_EQ(enabled(id), enabledIn(row, id)) << id;
        }
    }
}

TEST_F(SettingsPanelTest, DisablingKeepsTickAndTexts)
{
    selectCombo(kScaleCombo, 4);
    typeInto(kWidthEdit, L"640");
    typeInto(kHeightEdit, L"480");
    selectCombo(kScaleCombo, 0);
    EXPECT_EQ(text(kWidthEdit), L"640");
    EXPECT_EQ(text(kHeightEdit), L"480");
    EXPECT_EQ(text(kPercentEdit), L"100");
    // The tick kept while disabled applies again in a later mode.
    selectCombo(kScaleCombo, 2);
    EXPECT_FALSE(enabled(kHeightEdit));
}

TEST_F(SettingsPanelTest, EditsMoveTheirSlidersWithThePairsOwnDefaultsAndBounds)
{
    struct Case {
        ControlId edit;
        const wchar_t* typed;
        ControlId trackbar;
        int expected;
    };
    const Case cases[] = {
        {kWidthEdit, L"20000", kWidthTrackbar, 10000}, {kWidthEdit, L"", kWidthTrackbar, 1920},
        {kHeightEdit, L"", kHeightTrackbar, 1080},     {kPercentEdit, L"0", kPercentTrackbar, 1},
        {kPercentEdit, L"900", kPercentTrackbar, 500}, {kPercentEdit, L"abc", kPercentTrackbar, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edit << " \"" << c.typed << '"');
        // Starting elsewhere, so that a slider that did not move is noticed.
        SendMessageW(control(c.trackbar), TBM_SETPOS, TRUE, 7);
        typeInto(c.edit, c.typed);
        EXPECT_EQ(SendMessageW(control(c.trackbar), TBM_GETPOS, 0, 0), c.expected);
        EXPECT_EQ(text(c.edit), c.typed);
    }

    // The images use the typed width, not the slider's clamped one.
    listOneImage(4000, 3000);
    selectCombo(kScaleCombo, 2);
    typeInto(kWidthEdit, L"20000");
    EXPECT_EQ(cell(0, 3), L"20000 \u00d7 15000");
}

TEST_F(SettingsPanelTest, SlidersWriteTheirEditsAndQualityShowsInTheLabel)
{
    listOneImage(4000, 3000);
    selectCombo(kScaleCombo, 4);
    setKeepAspect(false);
    click(kKeepAspectCheck);
    const std::pair<ControlId, ControlId> pairs[] = {
        {kWidthTrackbar, kWidthEdit}, {kHeightTrackbar, kHeightEdit}, {kPercentTrackbar, kPercentEdit}};
    for (const auto& [trackbar, edit] : pairs) {
        moveTrackbar(trackbar, 250);
        EXPECT_EQ(text(edit), L"250") << trackbar;
    }
    EXPECT_EQ(cell(0, 3), L"250 \u00d7 250");

    const std::wstring forecastAt85 = cell(0, 4);
    moveTrackbar(kQualityTrackbar, 70);
    EXPECT_EQ(text(kQualityLabel), L"70 %");
    // JPEG's forecast follows the quality.
    EXPECT_NE(cell(0, 4), forecastAt85);
}

TEST_F(SettingsPanelTest, BusyLocksExactlyTheLockListAndUnlockingReappliesTheMode)
{
    for (const ControlId id : kAllControls) EnableWindow(control(id), TRUE);
    // The mode changes while locked, which tells working the states out afresh
    // on unlocking apart from restoring those from before the lock.
    for (const Enabling& row : {kEnablingTable[2], kEnablingTable[0]}) {
        SCOPED_TRACE(row.selection);
        setPanelBusy(true);
        EXPECT_TRUE(isPanelBusy());
        for (const ControlId id : kAllControls) {
            const bool locked = std::find(std::begin(kLockList), std::end(kLockList), id) != std::end(kLockList);
            EXPECT_EQ(enabled(id), !locked) << id;
        }
        SendMessageW(control(kScaleCombo), CB_SETCURSEL, row.selection, 0);
        setPanelBusy(false);
        EXPECT_FALSE(isPanelBusy());
        for (const ControlId id : kAllControls) EXPECT_EQ(enabled(id), enabledIn(row, id)) << id;
    }
}
