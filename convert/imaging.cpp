// Owns the process-wide WIC factory from start-up to teardown, and the
// factories of worker threads for as long as each thread runs.
#include "convert/imaging.h"

#include <utility>

namespace {
ComPtr<IWICImagingFactory> gFactory;
thread_local ComPtr<IWICImagingFactory> tThreadFactory;

HRESULT createFactory(ComPtr<IWICImagingFactory>& owner)
{
    ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(&factory)));
    owner = std::move(factory);
    return S_OK;
}
}  // namespace

HRESULT createImagingFactory()
{
    return createFactory(gFactory);
}

HRESULT createThreadImagingFactory()
{
    return createFactory(tThreadFactory);
}

void releaseThreadImagingFactory()
{
    tThreadFactory.Reset();
}

void releaseImagingFactory()
{
    gFactory.Reset();
}

IWICImagingFactory* imagingFactory()
{
    return tThreadFactory ? tThreadFactory.Get() : gFactory.Get();
}
