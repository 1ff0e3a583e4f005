// Requests split by rows only: the input checks each piece against its size
// and the rest of the caller's buffer, whatever its pixel format.
#include "convert/banded_source.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <new>
#include <utility>

namespace {

class BandedSource final : public IWICBitmapSource {
public:
    BandedSource(ComPtr<IWICBitmapSource> input, UINT rowsPerRequest)
        : input_(std::move(input)), rowsPerRequest_(static_cast<INT>(rowsPerRequest))
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
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
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override { return input_->GetSize(width, height); }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override
    {
        return input_->GetPixelFormat(format);
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* dpiX, double* dpiY) override
    {
        return input_->GetResolution(dpiX, dpiY);
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* palette) override { return input_->CopyPalette(palette); }

    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer) override
    {
        WICRect area{};
        if (rect) {
            area = *rect;
        } else {
            UINT width = 0;
            UINT height = 0;
            RETURN_IF_FAILED(input_->GetSize(&width, &height));
            area = {0, 0, static_cast<INT>(width), static_cast<INT>(height)};
        }
        if (area.Height <= rowsPerRequest_) return input_->CopyPixels(&area, stride, bufferSize, buffer);
        if (buffer == nullptr) return E_INVALIDARG;
        for (INT top = 0; top < area.Height; top += rowsPerRequest_) {
            const std::uint64_t offset = std::uint64_t{stride} * static_cast<UINT>(top);
            if (offset >= bufferSize) return E_INVALIDARG;
            const WICRect band{area.X, area.Y + top, area.Width, std::min(rowsPerRequest_, area.Height - top)};
            RETURN_IF_FAILED(
                input_->CopyPixels(&band, stride, bufferSize - static_cast<UINT>(offset), buffer + offset));
        }
        return S_OK;
    }

private:
    ~BandedSource() = default;

    std::atomic<ULONG> references_{1};
    ComPtr<IWICBitmapSource> input_;
    INT rowsPerRequest_;
};

}  // namespace

HRESULT limitRowsPerRequest(ComPtr<IWICBitmapSource>& source, UINT rowsPerRequest)
{
    ComPtr<BandedSource> banded =
        adoptCreated(new (std::nothrow) BandedSource(source, std::max(rowsPerRequest, 1u)));
    if (!banded) return E_OUTOFMEMORY;
    return banded.As(&source);
}
