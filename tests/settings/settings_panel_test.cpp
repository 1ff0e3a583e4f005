// The settings panel on the real window: which scale controls each mode
// enables, the edit and slider pairs, the quality label and the busy lock.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

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
    int position(ControlId trackbar) const
    {
        return static_cast<int>(SendMessageW(control(trackbar), TBM_GETPOS, 0, 0));
    }
    // One listed entry, so that the target-size column shows what the settings mean.
    void listOneImage(std::uint32_t width, std::uint32_t height)
    {
        imageList().push_back({L"C:\\Bilder\\foto.jpg", width, height, 500000});
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

bool isScaleControl(ControlId id)
{
    return id == kWidthEdit || id == kHeightEdit || id == kPercentEdit || id == kKeepAspectCheck ||
           id == kWidthTrackbar || id == kHeightTrackbar || id == kPercentTrackbar;
}

// Records which controls get disabled, in order, while installed.
class EnableRecorder {
public:
    EnableRecorder() { hook_ = SetWindowsHookExW(WH_CALLWNDPROC, record, nullptr, GetCurrentThreadId()); }
    ~EnableRecorder() { UnhookWindowsHookEx(hook_); }
    EnableRecorder(const EnableRecorder&) = delete;
    EnableRecorder& operator=(const EnableRecorder&) = delete;
    bool installed() const { return hook_ != nullptr; }
    static std::vector<int>& disabledIds()
    {
        static std::vector<int> ids;
        return ids;
    }

private:
    static LRESULT CALLBACK record(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // A combo box passes the change on to its own parts; only the panel's controls count.
        if (code == HC_ACTION && call->message == WM_ENABLE && !call->wParam && GetParent(call->hwnd) == mainWindow())
            disabledIds().push_back(GetDlgCtrlID(call->hwnd));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_ = nullptr;
};
}  // namespace

TEST_F(SettingsPanelTest, EnablesTheScaleControlsEachModeUses)
{
    for (const Enabling& row : kEnablingTable) {
        SCOPED_TRACE(testing::Message() << "selection " << row.selection << ", keep " << row.keep);
        // Reached once through the scale combo and once through the checkbox.
        setKeepAspect(row.keep);
        selectCombo(kScaleCombo, row.selection);
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_EQ(enabled(kPercentEdit), row.percent);
            EXPECT_EQ(enabled(kPercentTrackbar), row.percent);
            EXPECT_EQ(enabled(kWidthEdit), row.width);
            EXPECT_EQ(enabled(kWidthTrackbar), row.width);
            EXPECT_EQ(enabled(kHeightEdit), row.height);
            EXPECT_EQ(enabled(kHeightTrackbar), row.height);
            EXPECT_EQ(enabled(kKeepAspectCheck), row.checkbox);
            for (const ControlId id : kAllControls) {
                if (!isScaleControl(id)) {
                    EXPECT_TRUE(enabled(id)) << id;
                }
            }
            setKeepAspect(!row.keep);
            click(kKeepAspectCheck);
            setKeepAspect(row.keep);
            click(kKeepAspectCheck);
        }
    }
}

TEST_F(SettingsPanelTest, DisablingKeepsTickAndTexts)
{
    selectCombo(kScaleCombo, 4);
    typeInto(kWidthEdit, L"640");
    typeInto(kHeightEdit, L"480");
    for (const int mode : {0, 1}) {
        selectCombo(kScaleCombo, mode);
        EXPECT_FALSE(enabled(kKeepAspectCheck));
        EXPECT_EQ(SendMessageW(control(kKeepAspectCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(text(kWidthEdit), L"640");
        EXPECT_EQ(text(kHeightEdit), L"480");
        EXPECT_EQ(text(kPercentEdit), L"100");
    }
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
        {kWidthEdit, L"640", kWidthTrackbar, 640},     {kHeightEdit, L"", kHeightTrackbar, 1080},
        {kHeightEdit, L"0", kHeightTrackbar, 1},       {kHeightEdit, L"12px", kHeightTrackbar, 12},
        {kPercentEdit, L"0", kPercentTrackbar, 1},     {kPercentEdit, L"900", kPercentTrackbar, 500},
        {kPercentEdit, L"", kPercentTrackbar, 100},    {kPercentEdit, L"abc", kPercentTrackbar, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edit << " \"" << c.typed << '"');
        // Starting elsewhere, so that a slider that did not move is noticed.
        SendMessageW(control(c.trackbar), TBM_SETPOS, TRUE, 7);
        typeInto(c.edit, c.typed);
        EXPECT_EQ(position(c.trackbar), c.expected);
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
        SCOPED_TRACE(trackbar);
        moveTrackbar(trackbar, 250);
        EXPECT_EQ(text(edit), L"250");
        EXPECT_EQ(position(trackbar), 250);
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
    EnableRecorder::disabledIds().clear();
    {
        EnableRecorder recorder;
        ASSERT_TRUE(recorder.installed());
        setPanelBusy(true);
    }
    EXPECT_TRUE(isPanelBusy());
    const std::vector<int> inOrder(std::begin(kLockList), std::end(kLockList));
    EXPECT_EQ(EnableRecorder::disabledIds(), inOrder);
    for (const ControlId id : kAllControls) {
        const bool locked = std::find(std::begin(kLockList), std::end(kLockList), id) != std::end(kLockList);
        EXPECT_EQ(enabled(id), !locked) << id;
    }

    // Unlocked in the starting mode (source size): the scale controls stay off.
    setPanelBusy(false);
    EXPECT_FALSE(isPanelBusy());
    for (const ControlId id : kLockList) EXPECT_EQ(enabled(id), !isScaleControl(id)) << id;

    selectCombo(kScaleCombo, 1);
    setPanelBusy(true);
    setPanelBusy(false);
    for (const ControlId id : kLockList) {
        const bool expected = !isScaleControl(id) || id == kPercentEdit || id == kPercentTrackbar;
        EXPECT_EQ(enabled(id), expected) << id;
    }
}
