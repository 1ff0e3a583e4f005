// COM plumbing and request checks for the pipeline's own bitmap sources.
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

HRESULT STDMETHODCALLTYPE OwnBitmapSource::GetPixelFormat(WICPixelFormatGUID* format)
{
    if (format == nullptr) return E_INVALIDARG;
    *format = format_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OwnBitmapSource::CopyPalette(IWICPalette*)
{
    return WINCODEC_ERR_PALETTEUNAVAILABLE;
}

HRESULT STDMETHODCALLTYPE OwnBitmapSource::CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer)
{
    UINT width = 0;
    UINT height = 0;
    RETURN_IF_FAILED(GetSize(&width, &height));
    const WICRect area = rect ? *rect : WICRect{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    if (buffer == nullptr || area.X < 0 || area.Y < 0 || area.Width < 0 || area.Height < 0) return E_INVALIDARG;
    if (std::uint64_t{static_cast<UINT>(area.X)} + static_cast<UINT>(area.Width) > width ||
        std::uint64_t{static_cast<UINT>(area.Y)} + static_cast<UINT>(area.Height) > height)
        return E_INVALIDARG;
    const std::uint64_t rowBytes = std::uint64_t{static_cast<UINT>(area.Width)} * bytesPerPixel_;
    if (rowBytes > stride) return E_INVALIDARG;
    if (area.Height > 0 && std::uint64_t{stride} * static_cast<UINT>(area.Height - 1) + rowBytes > bufferSize)
        return E_INVALIDARG;
    if (area.Width == 0 || area.Height == 0) return S_OK;
    return copyArea(area, stride, buffer);
}
