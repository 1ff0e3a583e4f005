// Composites its input, pulled in bands of rows, into the caller's buffer.
#include "convert/flatten_source.h"

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
        return copyConvertedRows(area, 4, stride, buffer, compositeRow);
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
