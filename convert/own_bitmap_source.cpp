// COM plumbing for the pipeline's own bitmap sources.
#include "convert/own_bitmap_source.h"

#include <cstdint>

HRESULT STDMETHODCALLTYPE OwnBitmapSource::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IWICBitmapSource) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IWICBitmapSource*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE OwnBitmapSource::AddRef()
{
    return ++references_;
}

ULONG STDMETHODCALLTYPE OwnBitmapSource::Release()
{
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE OwnBitmapSource::GetResolution(double* dpiX, double* dpiY)
{
    return input_->GetResolution(dpiX, dpiY);
}

HRESULT STDMETHODCALLTYPE OwnBitmapSource::CopyPalette(IWICPalette*)
{
    return WINCODEC_ERR_PALETTEUNAVAILABLE;
}

HRESULT checkCopyRequest(const WICRect* rect, UINT width, UINT height, UINT bytesPerPixel, UINT stride,
                         UINT bufferSize, const BYTE* buffer, WICRect& area)
{
    area = rect ? *rect : WICRect{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    if (buffer == nullptr || area.X < 0 || area.Y < 0 || area.Width < 0 || area.Height < 0) return E_INVALIDARG;
    if (std::uint64_t{static_cast<UINT>(area.X)} + static_cast<UINT>(area.Width) > width ||
        std::uint64_t{static_cast<UINT>(area.Y)} + static_cast<UINT>(area.Height) > height)
        return E_INVALIDARG;
    const std::uint64_t rowBytes = std::uint64_t{static_cast<UINT>(area.Width)} * bytesPerPixel;
    if (rowBytes > stride) return E_INVALIDARG;
    if (area.Height > 0 && std::uint64_t{stride} * static_cast<UINT>(area.Height - 1) + rowBytes > bufferSize)
        return E_INVALIDARG;
    return S_OK;
}
