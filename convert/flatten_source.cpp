// Pulls its input in bands of rows and composites each band into the caller's
// buffer, so no full-size copy of the image is ever made.
#include "convert/flatten_source.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>

#include "convert/own_bitmap_source.h"

namespace {
// Straight (not premultiplied) alpha over white, rounded to the nearest.
BYTE overWhite(BYTE colour, BYTE alpha)
{
    return static_cast<BYTE>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

void compositeRow(const BYTE* in, BYTE* out, INT width)
{
    for (INT i = 0; i < width; ++i, in += 4, out += 3) {
        out[0] = overWhite(in[0], in[3]);
        out[1] = overWhite(in[1], in[3]);
        out[2] = overWhite(in[2], in[3]);
    }
}

class FlattenSource final : public OwnBitmapSource {
public:
    explicit FlattenSource(ComPtr<IWICBitmapSource> input)
        : OwnBitmapSource(std::move(input), GUID_WICPixelFormat24bppBGR, 3)
    {
    }

    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override { return input_->GetSize(width, height); }

private:
    HRESULT copyArea(const WICRect& area, UINT stride, BYTE* buffer) override
    {
        const UINT inStride = static_cast<UINT>(area.Width) * 4;
        const INT bandRows = static_cast<INT>(std::max<std::size_t>(1, kBandBytes / inStride));
        std::unique_ptr<BYTE[]> band(new (std::nothrow) BYTE[static_cast<std::size_t>(inStride) * bandRows]);
        if (!band) return E_OUTOFMEMORY;
        for (INT top = 0; top < area.Height; top += bandRows) {
            const INT rows = std::min(bandRows, area.Height - top);
            const WICRect part{area.X, area.Y + top, area.Width, rows};
            RETURN_IF_FAILED(input_->CopyPixels(&part, inStride, inStride * static_cast<UINT>(rows), band.get()));
            for (INT row = 0; row < rows; ++row)
                compositeRow(band.get() + static_cast<std::size_t>(inStride) * row,
                             buffer + static_cast<std::size_t>(stride) * (top + row), area.Width);
        }
        return S_OK;
    }
};
}  // namespace

HRESULT flattenOverWhite(ComPtr<IWICBitmapSource>& source)
{
    WICPixelFormatGUID format{};
    RETURN_IF_FAILED(source->GetPixelFormat(&format));
    if (format != GUID_WICPixelFormat32bppBGRA) return S_OK;
    ComPtr<IWICBitmapSource> flat = adoptCreated<IWICBitmapSource>(new (std::nothrow) FlattenSource(source));
    if (!flat) return E_OUTOFMEMORY;
    source = flat;
    return S_OK;
}
