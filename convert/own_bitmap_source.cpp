// COM plumbing and request checks for the pipeline's own bitmap sources.
#include "convert/own_bitmap_source.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace {
constexpr std::size_t kBandBytes = 256 * 1024;
}  // namespace

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

HRESULT OwnBitmapSource::pullRows(const WICRect& area, UINT inBytesPerPixel, const RowUse& useRow)
{
    const UINT inStride = static_cast<UINT>(area.Width) * inBytesPerPixel;
    const INT bandRows = static_cast<INT>(std::max<std::size_t>(1, kBandBytes / inStride));
    std::unique_ptr<BYTE[]> band(new (std::nothrow) BYTE[static_cast<std::size_t>(inStride) * bandRows]);
    if (!band) return E_OUTOFMEMORY;
    for (INT top = 0; top < area.Height; top += bandRows) {
        const INT rows = std::min(bandRows, area.Height - top);
        const WICRect part{area.X, area.Y + top, area.Width, rows};
        RETURN_IF_FAILED(input_->CopyPixels(&part, inStride, inStride * static_cast<UINT>(rows), band.get()));
        for (INT row = 0; row < rows; ++row) useRow(band.get() + static_cast<std::size_t>(inStride) * row, top + row);
    }
    return S_OK;
}

HRESULT OwnBitmapSource::copyConvertedRows(const WICRect& area, UINT inBytesPerPixel, UINT stride, BYTE* buffer,
                                           const RowConversion& convertRow)
{
    return pullRows(area, inBytesPerPixel, [&](const BYTE* in, INT row) {
        convertRow(in, buffer + static_cast<std::size_t>(stride) * row, area.Width);
    });
}
