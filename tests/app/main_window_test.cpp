// The real main window: its 23 controls as created, sizes and fonts at its DPI,
// the message routing, the keyboard through the program's own loop step and the
// busy lock on sliders.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "app/drawing_objects.h"
#include "app/layout.h"
#include "settings/settings_panel.h"
#include "support/main_window_fixture.h"

namespace {
constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;

// Each control, its text as created (not checked when null) and the style bits that must be set besides
// WS_CHILD | WS_VISIBLE; a combo box hands its WS_VSCROLL on to its drop-down list, so it is not checked there.
const std::tuple<ControlId, const wchar_t*, DWORD> kExpectedControls[] = {
    {kImageListView, L"", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER}, {kProgressBar, L"", PBS_SMOOTH},
    {kAddImagesButton, L"Bilder hinzuf\u00fcgen", 0}, {kRemoveImagesButton, L"Auswahl entfernen", 0},
    {kClearImagesButton, L"Liste leeren", 0}, {kSummaryText, L"Keine Bilder ausgew\u00e4hlt", 0},
    {kStatusText, L"Bereit.", 0}, {kFormatCombo, L"JPEG (.jpg)", CBS_DROPDOWNLIST},
    {kTargetFolderEdit, nullptr, ES_AUTOHSCROLL}, {kPickFolderButton, L"Ausw\u00e4hlen", 0},
    {kScaleCombo, L"Originalgr\u00f6\u00dfe", CBS_DROPDOWNLIST}, {kWidthEdit, L"1920", ES_NUMBER | ES_AUTOHSCROLL},
    {kHeightEdit, L"1080", ES_NUMBER | ES_AUTOHSCROLL}, {kPercentEdit, L"100", ES_NUMBER | ES_AUTOHSCROLL},
    {kWidthTrackbar, L"", TBS_NOTICKS}, {kHeightTrackbar, L"", TBS_NOTICKS}, {kPercentTrackbar, L"", TBS_AUTOTICKS},
    {kKeepAspectCheck, L"Seitenverh\u00e4ltnis beibehalten", BS_AUTOCHECKBOX}, {kQualityLabel, L"85 %", SS_RIGHT},
    {kQualityTrackbar, L"", TBS_AUTOTICKS}, {kStartButton, L"Konvertierung starten", BS_DEFPUSHBUTTON},
    {kForecastText, L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.", 0},
    {kOpenFolderButton, L"Zielordner \u00f6ffnen", 0},
};

// Every control that takes input, in the order Tab reaches them.
constexpr ControlId kReadingOrder[] = {
    kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kImageListView, kFormatCombo, kTargetFolderEdit,
    kPickFolderButton, kScaleCombo, kWidthEdit, kWidthTrackbar, kHeightEdit, kHeightTrackbar, kPercentEdit,
    kPercentTrackbar, kKeepAspectCheck, kQualityTrackbar, kStartButton, kOpenFolderButton};

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

TEST_F(MainWindowTest, WindowSizesFontsColumnsAndLayoutFollowTheDpiAtTheWindowDpi)
{
    const std::pair<const wchar_t*, int> columns[] = {{L"Datei", 165}, {L"Originalma\u00df", 100}, {L"Original", 78},
                                                      {L"Zielma\u00df", 100}, {L"Prognose", 92}, {L"Pfad", 260}};
    // As created, then after Windows has moved the window to a monitor at 120 DPI.
    for (const UINT dpi : {GetDpiForWindow(window()), 120u}) {
        SCOPED_TRACE(dpi);
        const auto scaled = [dpi](int length) { return scaleForDpi(length, dpi); };
        RECT suggested{10, 20, 10 + scaled(1280), 20 + scaled(820)}, frame{}, client{};
        if (dpi == 120)
            SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(window(), &frame);
        EXPECT_TRUE(dpi != 120 || EqualRect(&frame, &suggested));
        GetClientRect(window(), &client);
        MINMAXINFO info{};
        SendMessageW(window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        const RECT start = placement(kStartButton);
        const LOGFONTW font = fontOf(reinterpret_cast<HGDIOBJ>(ask(kStartButton, WM_GETFONT)));
        const long sizes[][2] = {
            {frame.right - frame.left, scaled(1280)}, {frame.bottom - frame.top, scaled(820)},
            {info.ptMinTrackSize.x, scaled(1020)}, {info.ptMinTrackSize.y, scaled(740)}, {font.lfHeight, scaled(-16)},
            {fontOf(reinterpret_cast<HGDIOBJ>(ask(kForecastText, WM_GETFONT))).lfWeight, 600},
            {fontOf(titleFont()).lfHeight, scaled(-29)}, {fontOf(titleFont()).lfWeight, 600},
            {start.right - start.left, columnGeometry(client.right, dpi).panelWidth},
            {start.bottom - start.top, scaled(42)}};
        for (const auto& [actual, expected] : sizes) EXPECT_EQ(actual, expected);
        for (int i = 0; i < 6; ++i) {
            wchar_t header[64]{};
            LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, 0, 0, header, 64, 0, 0, 0, 0, 0, 0};
            ASSERT_TRUE(ListView_GetColumn(control(kImageListView), i, &column));
            EXPECT_STREQ(header, columns[i].first);
            EXPECT_EQ(column.cx, scaled(columns[i].second)) << i;
        }
    }
}

TEST_F(MainWindowTest, CreatesEveryControlWithItsTextStylesFontEnablingAndRanges)
{
    for (const auto& [id, initialText, ownStyle] : kExpectedControls) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(!initialText || text(id) == initialText) << text(id);
        // Every control that takes input is a tab stop and a group of its own.
        const DWORD style = WS_CHILD | WS_VISIBLE | ownStyle | (std::ranges::count(kReadingOrder, id) ? kTab : 0);
        EXPECT_EQ(GetWindowLongPtrW(control(id), GWL_STYLE) & (style | kTab), style);
        // Only the list and the edits are sunken.
        EXPECT_EQ((GetWindowLongPtrW(control(id), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0,
                  id == kImageListView || id == kTargetFolderEdit || (id >= kWidthEdit && id <= kPercentEdit));
        // At start only the scale edits, their sliders and the check box are disabled.
        EXPECT_EQ(enabled(id), id < kWidthEdit || (id > kKeepAspectCheck && id < kWidthTrackbar));
        // Trackbars and the progress bar draw no text and keep no font.
        const HFONT font = id == kForecastText ? uiFontSemibold() : uiFont();
        if (id < kWidthTrackbar && id != kQualityTrackbar && id != kProgressBar) {
            EXPECT_EQ(ask(id, WM_GETFONT), reinterpret_cast<LRESULT>(font));
        }
    }
    const wchar_t* items[] = {L"JPEG (.jpg)", L"JFIF (.jfif)", L"PNG (.png)", L"WebP (.webp)", L"TIFF (.tif)",
                              L"BMP (.bmp)", L"GIF (.gif)", L"Originalgr\u00f6\u00dfe", L"Prozentual",
                              L"Feste Breite", L"Feste H\u00f6he", L"Exakte Gr\u00f6\u00dfe"};
    EXPECT_EQ(ask(kFormatCombo, CB_GETCOUNT) + ask(kScaleCombo, CB_GETCOUNT), 12);
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

TEST_F(MainWindowTest, TabWalksInReadingOrderArrowKeysAndSlidersWorkAndOfTheKeysOnlyEnterStartsTheRun)
{
    constexpr int count = static_cast<int>(std::size(kReadingOrder));
    EXPECT_EQ(GetFocus(), control(kAddImagesButton));
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
    // Disabled controls are skipped; enabled, every one is reached, forwards and backwards.
    for (const ControlId id : kReadingOrder) EnableWindow(control(id), TRUE);
    SetFocus(control(kAddImagesButton));
    for (int step = 1; step <= 2 * count; ++step) {
        pressKey(VK_TAB, step > count ? std::initializer_list<BYTE>{VK_SHIFT} : std::initializer_list<BYTE>{});
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), kReadingOrder[step <= count ? step % count : 2 * count - step]) << step;
    }
}
