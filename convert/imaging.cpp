// Owns the process-wide WIC factory from start-up to teardown, and the
// factories of worker threads for as long as each thread runs.
#include "convert/imaging.h"

#include <utility>

namespace {
ComPtr<IWICImagingFactory> gFactory;
// A plain pointer: mingw-w64 runs the destructor of a thread_local object after
// it has freed the thread's emulated TLS block, so a ComPtr here would be
// destroyed from freed memory when a worker ends. Released by its thread.
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

HRESULT bitsPerPixelOf(const WICPixelFormatGUID& format, UINT& bits)
{
    ComPtr<IWICComponentInfo> info;
    RETURN_IF_FAILED(imagingFactory()->CreateComponentInfo(format, &info));
    ComPtr<IWICPixelFormatInfo> formatInfo;
    RETURN_IF_FAILED(info.As(&formatInfo));
    return formatInfo->GetBitsPerPixel(&bits);
}
