// The real main window: its 23 controls as created, sizes and fonts at its DPI,
// the message routing, the keyboard through the program's own loop step and the
// busy lock on commands and closing.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cwchar>
#include <string>
#include <tuple>

#include "app/dpi.h"
#include "app/drawing_objects.h"
#include "app/layout.h"
#include "settings/settings_panel.h"
#include "support/main_window_fixture.h"
#include "support/wic_files.h"

namespace {
struct ExpectedControl {
    ControlId id;
    const wchar_t* className;
    const wchar_t* text;
    // Bits that must be set besides WS_CHILD | WS_VISIBLE; a combo box hands its
    // WS_VSCROLL on to its drop-down list, so it is not checked there.
    DWORD style;
    DWORD exStyle;
};

constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;
const ExpectedControl kExpectedControls[] = {
    {kImageListView, L"SysListView32", L"", kTab | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE},
    {kAddImagesButton, L"Button", L"Bilder hinzuf\u00fcgen", kTab, 0},
    {kRemoveImagesButton, L"Button", L"Auswahl entfernen", kTab, 0},
    {kClearImagesButton, L"Button", L"Liste leeren", kTab, 0},
    {kSummaryText, L"Static", L"Keine Bilder ausgew\u00e4hlt", 0, 0},
    {kProgressBar, L"msctls_progress32", L"", PBS_SMOOTH, 0},
    {kStatusText, L"Static", L"Bereit.", 0, 0},
    {kFormatCombo, L"ComboBox", L"JPEG (.jpg)", kTab | CBS_DROPDOWNLIST, 0},
    {kTargetFolderEdit, L"Edit", nullptr, kTab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kPickFolderButton, L"Button", L"Ausw\u00e4hlen", kTab, 0},
    {kScaleCombo, L"ComboBox", L"Originalgr\u00f6\u00dfe", kTab | CBS_DROPDOWNLIST, 0},
    {kWidthEdit, L"Edit", L"1920", kTab | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kHeightEdit, L"Edit", L"1080", kTab | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kPercentEdit, L"Edit", L"100", kTab | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kWidthTrackbar, L"msctls_trackbar32", L"", kTab | TBS_NOTICKS, 0},
    {kHeightTrackbar, L"msctls_trackbar32", L"", kTab | TBS_NOTICKS, 0},
    {kPercentTrackbar, L"msctls_trackbar32", L"", kTab | TBS_AUTOTICKS, 0},
    {kKeepAspectCheck, L"Button", L"Seitenverh\u00e4ltnis beibehalten", kTab | BS_AUTOCHECKBOX, 0},
    {kQualityTrackbar, L"msctls_trackbar32", L"", kTab | TBS_AUTOTICKS, 0},
    {kQualityLabel, L"Static", L"85 %", SS_RIGHT, 0},
    {kForecastText, L"Static", L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.", 0, 0},
    {kStartButton, L"Button", L"Konvertierung starten", kTab | BS_DEFPUSHBUTTON, 0},
    {kOpenFolderButton, L"Button", L"Zielordner \u00f6ffnen", kTab, 0},
};

LOGFONTW fontOf(HGDIOBJ font)
{
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

LRESULT ask(ControlId id, UINT message, WPARAM wParam = 0)
{
    return SendMessageW(control(id), message, wParam, 0);
}
}  // namespace

TEST_F(MainWindowTest, WindowSizesFontsAndColumnsAtTheWindowDpi)
{
    EXPECT_TRUE(GetWindowLongPtrW(window(), GWL_STYLE) & WS_CLIPCHILDREN);
    RECT frame{};
    GetWindowRect(window(), &frame);
    MINMAXINFO info{};
    SendMessageW(window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const long sizes[][2] = {{frame.right - frame.left, px(1280)},  {frame.bottom - frame.top, px(820)},
                             {info.ptMinTrackSize.x, px(1020)},      {info.ptMinTrackSize.y, px(740)},
                             {fontOf(uiFont()).lfHeight, px(-16)},
                             {fontOf(uiFontSemibold()).lfWeight, 600},
                             {fontOf(titleFont()).lfHeight, px(-29)},
                             {fontOf(titleFont()).lfWeight, 600}};
    for (const auto& [actual, expected] : sizes) EXPECT_EQ(actual, expected);

    const wchar_t* headers[] = {L"Datei", L"Originalma\u00df", L"Original", L"Zielma\u00df", L"Prognose", L"Pfad"};
    const int widths[] = {165, 100, 78, 100, 92, 260};
    for (int i = 0; i < 6; ++i) {
        wchar_t header[64]{};
        LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH | LVCF_FMT, 0, 0, header, 64, 0, 0, 0, 0, 0, 0};
        ASSERT_TRUE(ListView_GetColumn(control(kImageListView), i, &column));
        EXPECT_EQ(std::tuple(std::wstring(header), column.cx, column.fmt & LVCFMT_JUSTIFYMASK),
                  std::tuple(std::wstring(headers[i]), px(widths[i]), LVCFMT_LEFT));
    }
}

TEST_F(MainWindowTest, CreatesEveryControlWithItsClassTextStylesFontAndEnabling)
{
    for (const ExpectedControl& expected : kExpectedControls) {
        SCOPED_TRACE(expected.id);
        HWND hwnd = control(expected.id);
        wchar_t className[64]{};
        GetClassNameW(hwnd, className, 64);
        EXPECT_EQ(_wcsicmp(className, expected.className), 0) << className;
        EXPECT_TRUE(!expected.text || text(expected.id) == expected.text) << text(expected.id);
        const DWORD style = WS_CHILD | WS_VISIBLE | expected.style;
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & (style | WS_TABSTOP), style);
        // At start only the scale edits, their sliders and the check box are disabled.
        EXPECT_EQ(enabled(expected.id), expected.id < kWidthEdit || (expected.id > kKeepAspectCheck &&
                                                                     expected.id < kWidthTrackbar));
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, expected.exStyle);
        // Trackbars and the progress bar draw no text and keep no font.
        if (!wcsstr(expected.className, L"msctls_")) {
            EXPECT_EQ(SendMessageW(hwnd, WM_GETFONT, 0, 0),
                      reinterpret_cast<LRESULT>(expected.id == kForecastText ? uiFontSemibold() : uiFont()));
        }
    }
    // Push buttons are plain push buttons; only the start button is the default one.
    EXPECT_EQ(GetWindowLongPtrW(control(kAddImagesButton), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(ask(kKeepAspectCheck, BM_GETCHECK), BST_CHECKED);
}

TEST_F(MainWindowTest, CombosTrackbarsAndListStylesAreSetUp)
{
    const wchar_t* items[] = {L"JPEG (.jpg)", L"JFIF (.jfif)", L"PNG (.png)", L"WebP (.webp)", L"TIFF (.tif)",
                              L"BMP (.bmp)", L"GIF (.gif)", L"Originalgr\u00f6\u00dfe", L"Prozentual",
                              L"Feste Breite", L"Feste H\u00f6he", L"Exakte Gr\u00f6\u00dfe"};
    ASSERT_EQ(ask(kFormatCombo, CB_GETCOUNT), 7);
    ASSERT_EQ(ask(kScaleCombo, CB_GETCOUNT), 5);
    for (int i = 0; i < 12; ++i) {
        wchar_t item[64]{};
        SendMessageW(control(i < 7 ? kFormatCombo : kScaleCombo), CB_GETLBTEXT, i % 7, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, items[i]);
    }
    // Minimum, maximum, position, page size, tick count (both ends included); 0 is not checked: the
    // quality slider keeps the control's own page size.
    const std::pair<ControlId, std::array<int, 5>> trackbars[] = {
        {kWidthTrackbar, {1, 10000, 1920, 100, 0}}, {kHeightTrackbar, {1, 10000, 1080, 100, 0}},
        {kPercentTrackbar, {1, 500, 100, 10, 11}},  {kQualityTrackbar, {10, 100, 85, 0, 10}}};
    const UINT queries[] = {TBM_GETRANGEMIN, TBM_GETRANGEMAX, TBM_GETPOS, TBM_GETPAGESIZE, TBM_GETNUMTICS};
    for (const auto& [id, expected] : trackbars)
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(!expected[i] || ask(id, queries[i]) == expected[i]) << id << ' ' << i;
    const DWORD wanted = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER;
    EXPECT_EQ(ask(kImageListView, LVM_GETEXTENDEDLISTVIEWSTYLE) & wanted, wanted);
}

TEST_F(MainWindowTest, DpiChangeMovesTheWindowAndScalesFontsColumnsAndLayout)
{
    RECT suggested{10, 20, 10 + scaleForDpi(1280, 120), 20 + scaleForDpi(820, 120)};
    SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
    RECT frame{}, client{}, start{};
    GetWindowRect(window(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested));
    EXPECT_EQ(fontOf(reinterpret_cast<HGDIOBJ>(ask(kStartButton, WM_GETFONT))).lfHeight, -20);
    EXPECT_EQ(fontOf(reinterpret_cast<HGDIOBJ>(ask(kForecastText, WM_GETFONT))).lfWeight, 600);
    EXPECT_EQ(ask(kImageListView, LVM_GETCOLUMNWIDTH, 5), 325);
    GetClientRect(window(), &client);
    GetWindowRect(control(kStartButton), &start);
    EXPECT_EQ(start.right - start.left, columnGeometry(client.right, 120).panelWidth);
    EXPECT_EQ(start.bottom - start.top, scaleForDpi(42, 120));
}

TEST_F(MainWindowTest, TabAndShiftTabWalkEveryControlInReadingOrderFromAddImages)
{
    const ControlId order[] = {
        kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kImageListView, kFormatCombo, kTargetFolderEdit,
        kPickFolderButton, kScaleCombo, kWidthEdit, kWidthTrackbar, kHeightEdit, kHeightTrackbar, kPercentEdit,
        kPercentTrackbar, kKeepAspectCheck, kQualityTrackbar, kStartButton, kOpenFolderButton};
    constexpr int count = static_cast<int>(std::size(order));
    EXPECT_EQ(GetFocus(), control(kAddImagesButton));
    // Disabled controls are skipped; enabled, every one is reached.
    for (const ControlId id : order) EnableWindow(control(id), TRUE);
    for (int step = 1; step <= 2 * count; ++step) {
        pressKey(VK_TAB, step > count ? std::initializer_list<BYTE>{VK_SHIFT} : std::initializer_list<BYTE>{});
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[step <= count ? step % count : 2 * count - step]) << step;
    }
}

TEST_F(MainWindowTest, SlidersAndArrowKeysWorkAndOfTheKeysOnlyEnterStartsTheRun)
{
    // Back from the add-images button past the last two buttons: the start button is the default one again.
    for (int step = 0; step < 3; ++step) pressKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetWindowLongPtrW(control(kStartButton), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    pressKey(VK_RIGHT);
    EXPECT_EQ(text(kQualityLabel), L"86 %");
    SetFocus(control(kScaleCombo));
    pressKey(VK_DOWN);
    EXPECT_EQ(ask(kScaleCombo, CB_GETCURSEL), 1);
    EXPECT_TRUE(enabled(kPercentEdit)) << "the selection change was reported";
    command(kStartButton, BN_DOUBLECLICKED);
    command(kAddImagesButton, BN_SETFOCUS);
    // Slider messages are not commands: they act during a run too.
    setPanelBusy(true);
    moveTrackbar(kQualityTrackbar, 40);
    EXPECT_EQ(text(kQualityLabel), L"40 %");
    setPanelBusy(false);
    EXPECT_TRUE(messages.empty());
    SetFocus(control(kImageListView));
    pressKey(VK_RETURN);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.");
}

TEST_F(MainWindowTest, EntfRemovesTheSelectedRowsAndStrgASelectsAllButNotDuringARun)
{
    TempFolder folder;
    const std::vector<std::wstring> paths{folder.file(L"a.png"), folder.file(L"b.png"), folder.file(L"c.png")};
    for (const std::wstring& path : paths)
        ASSERT_EQ(writeTestImage(path, GUID_ContainerFormatPng, 8, 8, GUID_WICPixelFormat24bppBGR), S_OK);
    addThroughDialog(paths);
    SetFocus(control(kImageListView));
    ListView_SetItemState(control(kImageListView), 1, LVIS_SELECTED, LVIS_SELECTED);
    pressKey(VK_DELETE);
    EXPECT_EQ(cell(1, 0), L"c.png") << "row 1 of 3 removed";
    pressKey('A', {VK_CONTROL});
    EXPECT_EQ(ask(kImageListView, LVM_GETSELECTEDCOUNT), 2);
    setPanelBusy(true);
    pressKey(VK_DELETE);
    EXPECT_EQ(rowCount(), 2);
    setPanelBusy(false);
    pressKey(VK_DELETE);
    EXPECT_EQ(rowCount(), 0);
}
