// Owns the process-wide WIC factory from start-up to teardown.
#include "convert/imaging.h"

#include <utility>

namespace {
ComPtr<IWICImagingFactory> gFactory;
}

HRESULT createImagingFactory()
{
    ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(&factory)));
    gFactory = std::move(factory);
    return S_OK;
}

void releaseImagingFactory()
{
    gFactory.Reset();
}

IWICImagingFactory* imagingFactory()
{
    return gFactory.Get();
}
