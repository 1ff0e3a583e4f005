// The real main window: its 23 controls as created, the message routing and
// the busy lock on commands and closing.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#include "app/drawing_objects.h"
#include "app/layout.h"
#include "support/main_window_fixture.h"
#include "settings/settings_panel.h"

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

const ExpectedControl kExpectedControls[] = {
    {kImageListView, L"SysListView32", L"", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE},
    {kAddImagesButton, L"Button", L"Bilder hinzuf\u00fcgen", 0, 0},
    {kRemoveImagesButton, L"Button", L"Auswahl entfernen", 0, 0},
    {kClearImagesButton, L"Button", L"Liste leeren", 0, 0},
    {kSummaryText, L"Static", L"Keine Bilder ausgew\u00e4hlt", 0, 0},
    {kProgressBar, L"msctls_progress32", L"", PBS_SMOOTH, 0},
    {kStatusText, L"Static", L"Bereit.", 0, 0},
    {kFormatCombo, L"ComboBox", L"JPEG (.jpg)", CBS_DROPDOWNLIST, 0},
    {kTargetFolderEdit, L"Edit", nullptr, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kPickFolderButton, L"Button", L"Ausw\u00e4hlen", 0, 0},
    {kScaleCombo, L"ComboBox", L"Originalgr\u00f6\u00dfe", CBS_DROPDOWNLIST, 0},
    {kWidthEdit, L"Edit", L"1920", ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kHeightEdit, L"Edit", L"1080", ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kPercentEdit, L"Edit", L"100", ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kWidthTrackbar, L"msctls_trackbar32", L"", TBS_NOTICKS, 0},
    {kHeightTrackbar, L"msctls_trackbar32", L"", TBS_NOTICKS, 0},
    {kPercentTrackbar, L"msctls_trackbar32", L"", TBS_AUTOTICKS, 0},
    {kKeepAspectCheck, L"Button", L"Seitenverh\u00e4ltnis beibehalten", BS_AUTOCHECKBOX, 0},
    {kQualityTrackbar, L"msctls_trackbar32", L"", TBS_AUTOTICKS, 0},
    {kQualityLabel, L"Static", L"85 %", SS_RIGHT, 0},
    {kForecastText, L"Static", L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.", 0, 0},
    {kStartButton, L"Button", L"Konvertierung starten", BS_DEFPUSHBUTTON, 0},
    {kOpenFolderButton, L"Button", L"Zielordner \u00f6ffnen", 0, 0},
};

struct ExpectedTrackbar {
    ControlId id;
    int minimum, maximum, position, pageSize, tickCount;
};

std::wstring comboItem(HWND combo, int index)
{
    wchar_t buffer[128]{};
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}
}  // namespace

TEST_F(MainWindowTest, WindowHasItsClassTitleAndOuterSize)
{
    wchar_t className[64]{};
    GetClassNameW(window(), className, 64);
    EXPECT_STREQ(className, L"Lumora.MainWindow");
    wchar_t title[64]{};
    GetWindowTextW(window(), title, 64);
    EXPECT_STREQ(title, L"Lumora v1.2.0 \u2013 Bildkonverter");
    RECT frame{};
    GetWindowRect(window(), &frame);
    EXPECT_EQ(frame.right - frame.left, 1280);
    EXPECT_EQ(frame.bottom - frame.top, 820);
    EXPECT_TRUE(GetWindowLongPtrW(window(), GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_EQ(FindWindowW(L"Lumora.MainWindow", nullptr), window());
    MINMAXINFO info{};
    SendMessageW(window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1020);
    EXPECT_EQ(info.ptMinTrackSize.y, 740);
}

TEST_F(MainWindowTest, CreatesEveryControlWithItsClassTextStylesFontAndEnabling)
{
    for (const ExpectedControl& expected : kExpectedControls) {
        SCOPED_TRACE(expected.id);
        HWND hwnd = control(expected.id);
        ASSERT_NE(hwnd, nullptr);
        wchar_t className[64]{};
        GetClassNameW(hwnd, className, 64);
        EXPECT_EQ(_wcsicmp(className, expected.className), 0) << className;
        if (expected.text) {
            EXPECT_EQ(text(expected.id), expected.text);
        }
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | expected.style), WS_CHILD | WS_VISIBLE | expected.style);
        // At start only the scale edits, their sliders and the check box are disabled.
        const bool scaleControl = (expected.id >= kWidthEdit && expected.id <= kKeepAspectCheck) ||
                                  expected.id >= kWidthTrackbar;
        EXPECT_EQ(enabled(expected.id), !scaleControl);
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
        EXPECT_EQ(exStyle & WS_EX_CLIENTEDGE, expected.exStyle);
        // Trackbars and the progress bar draw no text and keep no font.
        if (!wcsstr(expected.className, L"msctls_")) {
            const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
            EXPECT_EQ(font, expected.id == kForecastText ? uiFontSemibold() : uiFont());
        }
    }
    // Push buttons are plain push buttons; only the start button is the default one.
    EXPECT_EQ(GetWindowLongPtrW(control(kAddImagesButton), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrW(control(kStartButton), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageW(control(kKeepAspectCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(MainWindowTest, CombosTrackbarsAndListColumnsAreSetUp)
{
    const wchar_t* formats[] = {L"JPEG (.jpg)", L"JFIF (.jfif)", L"PNG (.png)", L"WebP (.webp)",
                                L"TIFF (.tif)", L"BMP (.bmp)",   L"GIF (.gif)"};
    ASSERT_EQ(SendMessageW(control(kFormatCombo), CB_GETCOUNT, 0, 0), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(comboItem(control(kFormatCombo), i), formats[i]);
    const wchar_t* modes[] = {L"Originalgr\u00f6\u00dfe", L"Prozentual", L"Feste Breite", L"Feste H\u00f6he",
                              L"Exakte Gr\u00f6\u00dfe"};
    ASSERT_EQ(SendMessageW(control(kScaleCombo), CB_GETCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(comboItem(control(kScaleCombo), i), modes[i]);

    // The quality slider keeps the control's own page size (0: not checked); tick counts include both ends.
    const ExpectedTrackbar trackbars[] = {
        {kWidthTrackbar, 1, 10000, 1920, 100, 0},
        {kHeightTrackbar, 1, 10000, 1080, 100, 0},
        {kPercentTrackbar, 1, 500, 100, 10, 11},
        {kQualityTrackbar, 10, 100, 85, 0, 10},
    };
    for (const ExpectedTrackbar& expected : trackbars) {
        SCOPED_TRACE(expected.id);
        HWND trackbar = control(expected.id);
        EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0), expected.minimum);
        EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0), expected.maximum);
        EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), expected.position);
        if (expected.pageSize) {
            EXPECT_EQ(SendMessageW(trackbar, TBM_GETPAGESIZE, 0, 0), expected.pageSize);
        }
        if (expected.tickCount) {
            EXPECT_EQ(SendMessageW(trackbar, TBM_GETNUMTICS, 0, 0), expected.tickCount);
        }
    }

    HWND list = control(kImageListView);
    const DWORD extended = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const DWORD wanted = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER;
    EXPECT_EQ(extended & wanted, wanted);
    const std::pair<const wchar_t*, int> columns[] = {{L"Datei", 165},    {L"Originalma\u00df", 100},
                                                      {L"Original", 78},  {L"Zielma\u00df", 100},
                                                      {L"Prognose", 92},  {L"Pfad", 260}};
    for (int i = 0; i < 6; ++i) {
        wchar_t header[64]{};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = header;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(header, columns[i].first);
        EXPECT_EQ(column.cx, columns[i].second);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
}

TEST_F(MainWindowTest, WhileBusyCommandsAndClosingAreIgnoredButSlidersStillWork)
{
    setPanelBusy(true);
    click(kAddImagesButton);
    openAnswers.push_back({{L"C:\\never\\asked.png"}});
    click(kStartButton);
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(openAnswers.size(), 1u);
    EXPECT_TRUE(IsWindow(window()));
    // Slider messages are not commands: the label still follows the quality.
    moveTrackbar(kQualityTrackbar, 40);
    EXPECT_EQ(text(kQualityLabel), L"40 %");

    setPanelBusy(false);
    click(kStartButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.");
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
}

TEST_F(MainWindowTest, OtherNotificationsAndKeysStartNothing)
{
    command(kStartButton, BN_DOUBLECLICKED);
    command(kAddImagesButton, BN_SETFOCUS);
    command(kWidthEdit, EN_UPDATE);
    SendMessageW(control(kImageListView), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(text(kStatusText), L"Bereit.");
}
