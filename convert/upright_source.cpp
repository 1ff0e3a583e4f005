// Stored pixels served in any orientation: all at once straight from the
// input, any other rectangle from one copy of them.
#include "convert/upright_source.h"

#include <cstddef>
#include <cstdint>
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

    // Learns the stored size; the pixels are read only when asked for.
    HRESULT init()
    {
        RETURN_IF_FAILED(input_->GetSize(&width_, &height_));
        if (exceedsPixelLimit(width_, height_)) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
        stride_ = width_ * bytesPerPixel_;
        return S_OK;
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
        // Wine's encoders ask for all of it at once: then every stored row goes
        // straight to where it shows, without a copy of the whole.
        const bool whole = std::uint64_t{static_cast<UINT>(area.Width)} * static_cast<UINT>(area.Height) ==
                           std::uint64_t{width_} * height_;
        if (!pixels_ && whole)
            return bytesPerPixel_ == 4 ? scatterAll<4>(stride, buffer) : scatterAll<3>(stride, buffer);
        // Any other area may need stored rows in any order, which a decoder
        // gives cheaply only once, from the top.
        if (!pixels_) RETURN_IF_FAILED(load());
        for (INT row = 0; row < area.Height; ++row) {
            BYTE* out = buffer + static_cast<std::size_t>(stride) * row;
            if (bytesPerPixel_ == 4)
                copyRow<4>(out, area.X, area.Y + row, area.Width);
            else
                copyRow<3>(out, area.X, area.Y + row, area.Width);
        }
        return S_OK;
    }

    HRESULT load()
    {
        const std::size_t size = static_cast<std::size_t>(stride_) * height_;
        pixels_.reset(new (std::nothrow) BYTE[size]);
        if (!pixels_) return E_OUTOFMEMORY;
        const HRESULT copied = input_->CopyPixels(nullptr, stride_, static_cast<UINT>(size), pixels_.get());
        if (FAILED(copied)) pixels_.reset();
        return copied;
    }

    // Pulls the stored rows in bands, each row to its shown place.
    template <std::size_t kBytes>
    HRESULT scatterAll(UINT stride, BYTE* buffer)
    {
        const WICRect all{0, 0, static_cast<INT>(width_), static_cast<INT>(height_)};
        return pullRows(all, kBytes, [&](const BYTE* in, INT row) {
            scatterRow<kBytes>(in, static_cast<UINT>(row), stride, buffer);
        });
    }

    // Stored row y: its first pixel's shown place, then a fixed step through
    // the shown pixels for each next one.
    template <std::size_t kBytes>
    void scatterRow(const BYTE* in, UINT y, UINT stride, BYTE* buffer) const
    {
        const std::ptrdiff_t across = transform_.reverseRows ? height_ - 1 - y : y;
        const std::ptrdiff_t along = transform_.reverseColumns ? width_ - 1 : 0;
        const std::ptrdiff_t shownX = transform_.swapSides ? across : along;
        const std::ptrdiff_t shownY = transform_.swapSides ? along : across;
        const std::ptrdiff_t step = (transform_.reverseColumns ? -1 : 1) *
                                    (transform_.swapSides ? std::ptrdiff_t{stride} : std::ptrdiff_t{kBytes});
        std::ptrdiff_t at = shownY * std::ptrdiff_t{stride} + shownX * std::ptrdiff_t{kBytes};
        for (UINT i = 0; i < width_; ++i, at += step, in += kBytes) std::memcpy(buffer + at, in, kBytes);
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
    RETURN_IF_FAILED(upright->init());
    return upright.As(&source);
}
