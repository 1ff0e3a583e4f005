// Entry point: prepares the process, opens COM and the imaging factory, shows
// the main window and runs the message loop; tears down in reverse.
#include <windows.h>

#include <commctrl.h>
#include <dwmapi.h>

#include "app/drawing_objects.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/shell_paths.h"
#include "app/user_prompts.h"
#include "convert/imaging.h"
#include "imagelist/image_list_actions.h"

namespace {
// DWMWA_USE_IMMERSIVE_DARK_MODE; older SDK headers do not name it.
constexpr DWORD kDwmUseImmersiveDarkMode = 20;

void showStartupError(const wchar_t* text)
{
    userPrompts().messageBox(nullptr, text, L"Lumora", MB_OK | MB_ICONERROR);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    INITCOMMONCONTROLSEX commonControls{sizeof(commonControls), 0xFF};
    InitCommonControlsEx(&commonControls);

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        showStartupError(L"Die Windows-Bildkomponenten konnten nicht initialisiert werden.");
        return 1;
    }
    if (FAILED(createImagingFactory())) {
        showStartupError(L"Windows Imaging Component (WIC) ist nicht verf\u00fcgbar.");
        CoUninitialize();
        return 1;
    }

    createDrawingObjects();
    if (!registerMainWindowClass(instance)) return 1;
    HWND window = createMainWindow(instance);
    if (!window) return 1;

    const BOOL dark = TRUE;
    DwmSetWindowAttribute(window, kDwmUseImmersiveDarkMode, &dark, sizeof(dark));
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    // What "Senden an" or "Öffnen mit" hands over is added as a drop would be.
    const std::vector<std::wstring> paths = commandLinePaths();
    if (!paths.empty()) addPaths(paths);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatchLoopMessage(message);

    destroyDrawingObjects();
    releaseImagingFactory();
    CoUninitialize();
    return static_cast<int>(message.wParam);
}
