// Creates the controls in their fixed order with their fixed set-up, and
// dispatches messages. The procedure only routes: behaviour lives with the
// handlers in settings/, forecast/, imagelist/ and convert/.
#include "app/main_window.h"

#include <windows.h>

#include <commctrl.h>

#include "app/controls.h"
#include "app/dpi.h"
#include "app/drawing_objects.h"
#include "app/gdi.h"
#include "app/keyboard.h"
#include "app/layout.h"
#include "app/shell_paths.h"
#include "convert/batch_run.h"
#include "forecast/forecast_display.h"
#include "imagelist/image_list_actions.h"
#include "imagelist/image_list_keys.h"
#include "imagelist/image_reading.h"
#include "imagelist/image_list_view.h"
#include "settings/output_formats.h"
#include "settings/settings_panel.h"
#include "settings/target_folder.h"

namespace {

struct ControlDefinition {
    ControlId id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
};

// Every control that takes input is a tab stop and a group of its own, so the
// arrow keys stay with sliders, combos, edits and the list and never jump
// between buttons.
constexpr DWORD kFocusable = WS_TABSTOP | WS_GROUP;

constexpr ControlDefinition kControls[] = {
    // Owner data: the rows are the image list's entries, asked for as they are drawn.
    {kImageListView, WC_LISTVIEWW, L"", kFocusable | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_OWNERDATA,
     WS_EX_CLIENTEDGE},
    {kAddImagesButton, L"BUTTON", L"Bilder hinzuf\u00fcgen", kFocusable | BS_PUSHBUTTON, 0},
    {kRemoveImagesButton, L"BUTTON", L"Auswahl entfernen", kFocusable | BS_PUSHBUTTON, 0},
    {kClearImagesButton, L"BUTTON", L"Liste leeren", kFocusable | BS_PUSHBUTTON, 0},
    {kSummaryText, L"STATIC", L"Keine Bilder ausgew\u00e4hlt", SS_LEFT, 0},
    {kProgressBar, PROGRESS_CLASSW, L"", PBS_SMOOTH, 0},
    {kStatusText, L"STATIC", L"Bereit.", SS_LEFT, 0},
    {kFormatCombo, L"COMBOBOX", L"", kFocusable | CBS_DROPDOWNLIST | WS_VSCROLL, 0},
    {kTargetFolderEdit, L"EDIT", L"", kFocusable | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kPickFolderButton, L"BUTTON", L"Ausw\u00e4hlen", kFocusable | BS_PUSHBUTTON, 0},
    {kScaleCombo, L"COMBOBOX", L"", kFocusable | CBS_DROPDOWNLIST | WS_VSCROLL, 0},
    {kWidthEdit, L"EDIT", L"1920", kFocusable | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kHeightEdit, L"EDIT", L"1080", kFocusable | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kPercentEdit, L"EDIT", L"100", kFocusable | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kWidthTrackbar, TRACKBAR_CLASSW, L"", kFocusable | TBS_NOTICKS, 0},
    {kHeightTrackbar, TRACKBAR_CLASSW, L"", kFocusable | TBS_NOTICKS, 0},
    {kPercentTrackbar, TRACKBAR_CLASSW, L"", kFocusable | TBS_AUTOTICKS, 0},
    {kKeepAspectCheck, L"BUTTON", L"Seitenverh\u00e4ltnis beibehalten", kFocusable | BS_AUTOCHECKBOX, 0},
    {kQualityTrackbar, TRACKBAR_CLASSW, L"", kFocusable | TBS_AUTOTICKS, 0},
    {kQualityLabel, L"STATIC", L"85 %", SS_RIGHT, 0},
    {kForecastText, L"STATIC", L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.", SS_LEFT, 0},
    {kStartButton, L"BUTTON", L"Konvertierung starten", kFocusable | BS_DEFPUSHBUTTON, 0},
    {kOpenFolderButton, L"BUTTON", L"Zielordner \u00f6ffnen", kFocusable | BS_PUSHBUTTON, 0},
};

struct ListColumn {
    const wchar_t* header;
    int width;
};

constexpr ListColumn kListColumns[] = {
    {L"Datei", 165},    {L"Originalma\u00df", 100}, {L"Original", 78},
    {L"Zielma\u00df", 100}, {L"Prognose", 92},        {L"Pfad", 260},
};

void setUpListView(HWND list)
{
    constexpr DWORD kExtended = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(-1), kExtended);
    int index = 0;
    for (const ListColumn& column : kListColumns) {
        LVCOLUMNW description{};
        description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        description.fmt = LVCFMT_LEFT;
        description.cx = scaleForDpi(column.width, mainWindowDpi());
        description.pszText = const_cast<wchar_t*>(column.header);
        description.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&description));
    }
}

void resizeListColumns()
{
    int index = 0;
    for (const ListColumn& column : kListColumns) {
        SendMessageW(control(kImageListView), LVM_SETCOLUMNWIDTH, index++,
                     scaleForDpi(column.width, mainWindowDpi()));
    }
}

HFONT fontFor(ControlId id)
{
    return id == kForecastText ? uiFontSemibold() : uiFont();
}

void applyFonts()
{
    for (const ControlDefinition& definition : kControls) {
        SendMessageW(control(definition.id), WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(definition.id)), TRUE);
    }
}

void addComboItem(HWND combo, const wchar_t* label)
{
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
}

constexpr const wchar_t* kScaleModeLabels[] = {L"Originalgr\u00f6\u00dfe", L"Prozentual", L"Feste Breite",
                                                L"Feste H\u00f6he", L"Exakte Gr\u00f6\u00dfe"};

void setUpTrackbar(HWND trackbar, int minimum, int maximum, int position, int tickFrequency, int pageSize)
{
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
    if (tickFrequency > 0) SendMessageW(trackbar, TBM_SETTICFREQ, tickFrequency, 0);
    if (pageSize > 0) SendMessageW(trackbar, TBM_SETPAGESIZE, 0, pageSize);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
}

void setUpControl(ControlId id, HWND hwnd)
{
    switch (id) {
    case kImageListView: setUpListView(hwnd); break;
    case kFormatCombo:
        for (const OutputFormat& format : kOutputFormats) addComboItem(hwnd, format.label);
        SendMessageW(hwnd, CB_SETCURSEL, 0, 0);
        break;
    case kScaleCombo:
        for (const wchar_t* label : kScaleModeLabels) addComboItem(hwnd, label);
        SendMessageW(hwnd, CB_SETCURSEL, 0, 0);
        break;
    case kWidthTrackbar: setUpTrackbar(hwnd, 1, 10000, 1920, 0, 100); break;
    case kHeightTrackbar: setUpTrackbar(hwnd, 1, 10000, 1080, 0, 100); break;
    case kPercentTrackbar: setUpTrackbar(hwnd, 1, 500, 100, 50, 10); break;
    case kKeepAspectCheck: SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0); break;
    // The quality slider keeps the control's own page size.
    case kQualityTrackbar: setUpTrackbar(hwnd, 10, 100, 85, 10, 0); break;
    default: break;
    }
}

void onCommand(int id, int notification)
{
    switch (id) {
    case kAddImagesButton:
        if (notification == BN_CLICKED) addImages();
        break;
    case kRemoveImagesButton:
        if (notification == BN_CLICKED) removeSelectedImages();
        break;
    case kClearImagesButton:
        if (notification == BN_CLICKED) clearImages();
        break;
    case kFormatCombo:
        if (notification == CBN_SELCHANGE) refreshForecast();
        break;
    case kPickFolderButton:
        if (notification == BN_CLICKED) pickTargetFolder();
        break;
    case kScaleCombo:
        if (notification == CBN_SELCHANGE) {
            updateScaleControls();
            refreshForecast();
        }
        break;
    case kWidthEdit:
    case kHeightEdit:
    case kPercentEdit:
        if (notification == EN_CHANGE) {
            syncTrackbarFromEdit(static_cast<ControlId>(id));
            refreshForecast();
        }
        break;
    case kKeepAspectCheck:
        if (notification == BN_CLICKED) {
            updateScaleControls();
            refreshForecast();
        }
        break;
    case kStartButton:
        if (notification == BN_CLICKED) runBatchConversion();
        break;
    case kOpenFolderButton:
        if (notification == BN_CLICKED) openTargetFolder();
        break;
    default: break;
    }
}

void onHorizontalScroll(HWND sender)
{
    if (!sender) return;
    const int id = GetDlgCtrlID(sender);
    if (id == kWidthTrackbar || id == kHeightTrackbar || id == kPercentTrackbar)
        syncEditFromTrackbar(static_cast<ControlId>(id));
    if (id == kWidthTrackbar || id == kHeightTrackbar || id == kPercentTrackbar || id == kQualityTrackbar)
        refreshForecast();
}

void onPaint(HWND hwnd)
{
    PaintScope paint(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    paintHeader(paint.hdc(), client.right);
}

// Windows has already moved the window to the new DPI; the controls follow.
void onDpiChanged(HWND hwnd, UINT dpi, const RECT& suggested)
{
    setMainWindowDpi(dpi);
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const auto replacedFonts = createFonts(dpi);
    applyFonts();
    resizeListColumns();
    // The suggested size may equal the old one, so no WM_SIZE came.
    RECT client{};
    GetClientRect(hwnd, &client);
    layoutControls(client.right, client.bottom);
    InvalidateRect(hwnd, nullptr, TRUE);
}

// WM_GETMINMAXINFO arrives before WM_CREATE has stored the window and its DPI.
UINT dpiOf(HWND hwnd)
{
    return hwnd == mainWindow() ? mainWindowDpi() : GetDpiForWindow(hwnd);
}

LRESULT onNotify(NMHDR& header)
{
    if (header.idFrom != kImageListView) return 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: fillImageListCell(reinterpret_cast<NMLVDISPINFOW&>(header)); return 0;
    case LVN_ODFINDITEMW: return findImageListRow(reinterpret_cast<NMLVFINDITEMW&>(header));
    case LVN_KEYDOWN:
        if (!isPanelBusy() && !isReadingImages()) onImageListKey(reinterpret_cast<NMLVKEYDOWN&>(header).wVKey);
        return 0;
    default: return 0;
    }
}

LRESULT onColourStatic(HDC hdc)
{
    SetTextColor(hdc, kTextColour);
    SetBkColor(hdc, kBackgroundColour);
    return reinterpret_cast<LRESULT>(backgroundBrush());
}
}  // namespace

ATOM registerMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = backgroundBrush();
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass);
}

HWND createMainWindow(HINSTANCE instance)
{
    HWND hwnd = CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, 1280, 820, nullptr, nullptr, instance, nullptr);
    // The window's DPI is known only once it exists on its monitor.
    if (hwnd) {
        SetWindowPos(hwnd, nullptr, 0, 0, scaleForDpi(1280, mainWindowDpi()), scaleForDpi(820, mainWindowDpi()),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return hwnd;
}

void createControls()
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow(), GWLP_HINSTANCE));
    for (const ControlDefinition& definition : kControls) {
        HWND hwnd = CreateWindowExW(definition.exStyle, definition.className, definition.text,
                                    WS_CHILD | WS_VISIBLE | definition.style, 0, 0, 100, 28, mainWindow(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(definition.id)), instance, nullptr);
        if (!hwnd) continue;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(definition.id)), TRUE);
        setUpControl(definition.id, hwnd);
    }
    stackControlsInReadingOrder();
    defaultTargetFolder();
    updateScaleControls();
    refreshForecast();
}

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        setMainWindow(hwnd);
        setMainWindowDpi(GetDpiForWindow(hwnd));
        static_cast<void>(createFonts(mainWindowDpi()));
        createControls();
        DragAcceptFiles(hwnd, TRUE);
        return 0;
    case WM_DESTROY:
        stopReadingImages();
        abandonBatchRun();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        layoutControls(LOWORD(lParam), HIWORD(lParam));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        onPaint(hwnd);
        return 0;
    case WM_CLOSE:
        if (!isPanelBusy()) DestroyWindow(hwnd);
        else onCloseDuringRun();
        return 0;
    case WM_QUERYENDSESSION:
        return isPanelBusy() ? onQueryEndSessionDuringRun() : TRUE;
    case WM_ENDSESSION:
        if (wParam) onSessionEnding();
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush());
        return 1;
    }
    case WM_GETMINMAXINFO: {
        const SIZE minimum = minimumTrackingSize(dpiOf(hwnd));
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
        return 0;
    }
    case WM_DPICHANGED:
        onDpiChanged(hwnd, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        keepFocusAcrossActivation(hwnd, wParam);
        return 0;
    case DM_GETDEFID:
        return defaultButton();
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        if (isReadingImages()) return 0;
        if (!isPanelBusy())
            onCommand(LOWORD(wParam), HIWORD(wParam));
        else
            onCommandDuringRun(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DROPFILES: {
        const std::vector<std::wstring> paths = takeDroppedPaths(reinterpret_cast<HDROP>(wParam));
        if (!isPanelBusy() && !isReadingImages()) addPaths(paths);
        return 0;
    }
    case kImagesReadMessage:
        onImagesRead(wParam);
        return 0;
    case WM_HSCROLL:
        onHorizontalScroll(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return onColourStatic(reinterpret_cast<HDC>(wParam));
    case kImageDoneMessage:
        onImageDone(wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
