// Owns the process-wide WIC factory from start-up to teardown, and the
// factories of worker threads for as long as each thread runs.
#include "convert/imaging.h"

#include <utility>

namespace {
ComPtr<IWICImagingFactory> gFactory;
// A plain pointer: mingw-w64 runs destructors of thread_local objects after
// it has freed their storage, which crashes a thread at its exit now and then.
thread_local IWICImagingFactory* tThreadFactory = nullptr;

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
    ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(createFactory(factory));
    releaseThreadImagingFactory();
    tThreadFactory = factory.Detach();
    return S_OK;
}

void releaseThreadImagingFactory()
{
    if (tThreadFactory) std::exchange(tThreadFactory, nullptr)->Release();
}

void releaseImagingFactory()
{
    gFactory.Reset();
}

IWICImagingFactory* imagingFactory()
{
    return tThreadFactory ? tThreadFactory : gFactory.Get();
}
