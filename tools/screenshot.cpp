// screenshot.exe <output.png>: waits for Lumora's main window, captures it from
// the screen once it has painted, saves it as PNG and closes the window.
// `make run` uses it on a virtual display, where nobody could look at the window.
#include <windows.h>

#include <cwchar>

#include "app/gdi.h"
#include "convert/imaging.h"

namespace {

constexpr wchar_t kWindowClass[] = L"Lumora.MainWindow";
constexpr DWORD kWaitLimitMs = 30000;
constexpr DWORD kPollMs = 100;
// How long the window must have been visible before it counts as painted.
constexpr DWORD kSettleMs = 1000;

HWND waitForVisibleWindow()
{
    for (DWORD waited = 0; waited < kWaitLimitMs; waited += kPollMs) {
        const HWND window = FindWindowW(kWindowClass, nullptr);
        if (window && IsWindowVisible(window)) return window;
        Sleep(kPollMs);
    }
    return nullptr;
}

// The DIB section a capture is copied into; its bits stay valid while it lives.
struct Capture {
    GdiObject bitmap;
    void* bits = nullptr;
    int width = 0;
    int height = 0;
};

// Copies the window's rectangle, as far as it lies on the screen, into top-down 32-bit rows.
// Read from the screen DC rather than with PrintWindow, which misses controls under Wine.
bool captureWindow(HWND window, Capture& capture)
{
    RECT bounds{};
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (!GetWindowRect(window, &bounds) || !IntersectRect(&bounds, &bounds, &screen)) return false;
    capture.width = bounds.right - bounds.left;
    capture.height = bounds.bottom - bounds.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    const ScreenDc screenDc;
    const MemoryDc memoryDc(CreateCompatibleDC(screenDc.get()));
    capture.bitmap.reset(CreateDIBSection(screenDc.get(), &info, DIB_RGB_COLORS, &capture.bits, nullptr, 0));
    if (!memoryDc || !capture.bitmap) return false;
    const SelectScope selected(memoryDc.get(), capture.bitmap.get());
    return BitBlt(memoryDc.get(), 0, 0, capture.width, capture.height, screenDc.get(), bounds.left, bounds.top,
                  SRCCOPY | CAPTUREBLT) != FALSE;
}

HRESULT savePng(const Capture& capture, const wchar_t* path)
{
    IWICImagingFactory* factory = imagingFactory();
    const UINT stride = static_cast<UINT>(capture.width) * 4;
    ComPtr<IWICBitmap> source;
    // The screen's fourth byte is not alpha, so the rows are read as plain BGR.
    RETURN_IF_FAILED(factory->CreateBitmapFromMemory(capture.width, capture.height, GUID_WICPixelFormat32bppBGR,
                                                     stride, stride * capture.height,
                                                     static_cast<BYTE*>(capture.bits), &source));
    ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(&stream));
    RETURN_IF_FAILED(stream->InitializeFromFilename(path, GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
    RETURN_IF_FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frame;
    RETURN_IF_FAILED(encoder->CreateNewFrame(&frame, nullptr));
    RETURN_IF_FAILED(frame->Initialize(nullptr));
    RETURN_IF_FAILED(frame->SetSize(capture.width, capture.height));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    // WriteSource converts to whatever format the encoder settled on.
    RETURN_IF_FAILED(frame->WriteSource(source.Get(), nullptr));
    RETURN_IF_FAILED(frame->Commit());
    return encoder->Commit();
}

int fail(const wchar_t* message, HRESULT hr = S_OK)
{
    if (hr == S_OK) {
        std::fwprintf(stderr, L"screenshot: %ls\n", message);
    } else {
        std::fwprintf(stderr, L"screenshot: %ls (0x%08lX)\n", message, static_cast<unsigned long>(hr));
    }
    return 1;
}

int takeScreenshot(const wchar_t* path)
{
    const HWND window = waitForVisibleWindow();
    if (!window) return fail(L"no visible Lumora.MainWindow within 30 seconds");
    Sleep(kSettleMs);
    SetForegroundWindow(window);
    // Paints every pending region before the pixels are read.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(kSettleMs / 2);

    Capture capture;
    if (!captureWindow(window, capture)) return fail(L"could not copy the window from the screen");
    const HRESULT hr = savePng(capture, path);
    if (FAILED(hr)) return fail(L"could not write the PNG", hr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) return fail(L"usage: screenshot <output.png>");
    // Window and screen coordinates in physical pixels, whatever the monitor's scale.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) return fail(L"COM could not be opened", hr);
    hr = createImagingFactory();
    const int result = SUCCEEDED(hr) ? takeScreenshot(argv[1]) : fail(L"no imaging factory", hr);
    releaseImagingFactory();
    CoUninitialize();
    return result;
}
