// 8-bit BGR and BGRA and the 16-bit formats decoders give are read as they
// are; any other format is converted to 32-bit BGRA by the platform first.
#include "convert/colour_source.h"

#include <new>
#include <optional>
#include <utility>

#include "convert/colour_transform.h"
#include "convert/own_bitmap_source.h"

namespace {

struct Layout {
    PixelLayout layout;
    UINT inBytes;
    WICPixelFormatGUID outFormat;
    UINT outBytes;
};

std::optional<Layout> layoutOf(const WICPixelFormatGUID& format)
{
    if (format == GUID_WICPixelFormat24bppBGR) return Layout{PixelLayout::Bgr8, 3, format, 3};
    if (format == GUID_WICPixelFormat32bppBGRA) return Layout{PixelLayout::Bgra8, 4, format, 4};
    if (format == GUID_WICPixelFormat48bppRGB) return Layout{PixelLayout::Rgb16, 6, GUID_WICPixelFormat24bppBGR, 3};
    if (format == GUID_WICPixelFormat64bppRGBA) return Layout{PixelLayout::Rgba16, 8, GUID_WICPixelFormat32bppBGRA, 4};
    if (format == GUID_WICPixelFormat16bppGray) return Layout{PixelLayout::Grey16, 2, GUID_WICPixelFormat24bppBGR, 3};
    return std::nullopt;
}

class ColourSource final : public OwnBitmapSource {
public:
    ColourSource(ComPtr<IWICBitmapSource> input, const Layout& layout, ColourTransform transform)
        : OwnBitmapSource(std::move(input), layout.outFormat, layout.outBytes), layout_(layout),
          transform_(std::move(transform))
    {
    }

    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override { return input_->GetSize(width, height); }

private:
    HRESULT copyArea(const WICRect& area, UINT stride, BYTE* buffer) override
    {
        return copyConvertedRows(area, layout_.inBytes, stride, buffer, [this](const BYTE* in, BYTE* out, INT width) {
            transform_.convertRow(layout_.layout, in, out, static_cast<std::size_t>(width));
        });
    }

    Layout layout_;
    ColourTransform transform_;
};

HRESULT toBgra(ComPtr<IWICBitmapSource>& source)
{
    ComPtr<IWICFormatConverter> converter;
    RETURN_IF_FAILED(imagingFactory()->CreateFormatConverter(&converter));
    RETURN_IF_FAILED(converter->Initialize(source.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                           nullptr, 0.0, WICBitmapPaletteTypeCustom));
    return converter.As(&source);
}

}  // namespace

HRESULT convertMatrixProfile(ComPtr<IWICBitmapSource>& source, const IccProfile& profile)
{
    WICPixelFormatGUID format{};
    RETURN_IF_FAILED(source->GetPixelFormat(&format));
    std::optional<Layout> layout = layoutOf(format);
    std::optional<ColourTransform> transform =
        ColourTransform::toSrgb(profile, layout && layout->layout >= PixelLayout::Rgb16);
    if (!transform) return S_OK;
    if (!layout) {
        RETURN_IF_FAILED(toBgra(source));
        layout = layoutOf(GUID_WICPixelFormat32bppBGRA);
    }
    ComPtr<IWICBitmapSource> converted =
        adoptCreated<IWICBitmapSource>(new (std::nothrow) ColourSource(source, *layout, std::move(*transform)));
    if (!converted) return E_OUTOFMEMORY;
    source = converted;
    return S_OK;
}
