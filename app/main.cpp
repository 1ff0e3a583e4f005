// Entry point.
#include <windows.h>

#include "convert/imaging.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const HRESULT hr = createImagingFactory();
    releaseImagingFactory();
    CoUninitialize();
    return FAILED(hr) ? 1 : 0;
}
