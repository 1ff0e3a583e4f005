// One copy of the stored pixels, served in any orientation for any rectangle.
#include "convert/upright_source.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "convert/own_bitmap_source.h"
#include "imagelist/declared_size.h"
#include "imagelist/exif_orientation.h"

namespace {

class UprightSource final : public OwnBitmapSource {
public:
    UprightSource(ComPtr<IWICBitmapSource> input, const WICPixelFormatGUID& format, UINT bytesPerPixel,
                  OrientationTransform transform)
        : OwnBitmapSource(std::move(input), format, bytesPerPixel), transform_(transform)
    {
    }

    // Takes a copy of the stored pixels.
    HRESULT load()
    {
        RETURN_IF_FAILED(input_->GetSize(&width_, &height_));
        if (exceedsPixelLimit(width_, height_)) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
        stride_ = width_ * bytesPerPixel_;
        const std::size_t size = static_cast<std::size_t>(stride_) * height_;
        pixels_.reset(new (std::nothrow) BYTE[size]);
        if (!pixels_) return E_OUTOFMEMORY;
        return input_->CopyPixels(nullptr, stride_, static_cast<UINT>(size), pixels_.get());
    }

    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override
    {
        if (width == nullptr || height == nullptr) return E_INVALIDARG;
        *width = transform_.swapSides ? height_ : width_;
        *height = transform_.swapSides ? width_ : height_;
        return S_OK;
    }

private:
    HRESULT copyArea(const WICRect& area, UINT stride, BYTE* buffer) override
    {
        for (INT row = 0; row < area.Height; ++row) {
            BYTE* out = buffer + static_cast<std::size_t>(stride) * row;
            if (bytesPerPixel_ == 4)
                copyRow<4>(out, area.X, area.Y + row, area.Width);
            else
                copyRow<3>(out, area.X, area.Y + row, area.Width);
        }
        return S_OK;
    }

    // Shown pixels x .. x + count - 1 of shown row y: the stored pixel of the
    // first, then a fixed step through the stored pixels for each next one.
    template <std::size_t kBytes>
    void copyRow(BYTE* out, INT x, INT y, INT count) const
    {
        const std::ptrdiff_t along = transform_.swapSides ? y : x;
        const std::ptrdiff_t across = transform_.swapSides ? x : y;
        const std::ptrdiff_t column = transform_.reverseColumns ? width_ - 1 - along : along;
        const std::ptrdiff_t storedRow = transform_.reverseRows ? height_ - 1 - across : across;
        const std::ptrdiff_t step = transform_.swapSides
                                        ? (transform_.reverseRows ? -1 : 1) * std::ptrdiff_t{stride_}
                                        : (transform_.reverseColumns ? -1 : 1) * std::ptrdiff_t{kBytes};
        std::ptrdiff_t at = storedRow * std::ptrdiff_t{stride_} + column * std::ptrdiff_t{kBytes};
        for (INT i = 0; i < count; ++i, at += step, out += kBytes) std::memcpy(out, pixels_.get() + at, kBytes);
    }

    OrientationTransform transform_;
    UINT width_ = 0;
    UINT height_ = 0;
    UINT stride_ = 0;
    std::unique_ptr<BYTE[]> pixels_;
};

}  // namespace

HRESULT turnUpright(ComPtr<IWICBitmapSource>& source, std::uint16_t orientation)
{
    WICPixelFormatGUID format{};
    RETURN_IF_FAILED(source->GetPixelFormat(&format));
    if (format != GUID_WICPixelFormat24bppBGR && format != GUID_WICPixelFormat32bppBGRA)
        return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    const UINT bytesPerPixel = format == GUID_WICPixelFormat24bppBGR ? 3 : 4;
    ComPtr<UprightSource> upright =
        adoptCreated(new (std::nothrow) UprightSource(source, format, bytesPerPixel, orientationTransform(orientation)));
    if (!upright) return E_OUTOFMEMORY;
    RETURN_IF_FAILED(upright->load());
    return upright.As(&source);
}
