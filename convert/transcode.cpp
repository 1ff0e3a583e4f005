// Runs one image through decoder, scaler, format converter and encoder as a
// pull chain: each band the encoder is handed draws its pixels. Only turning a
// photo upright may copy the scaled pixels, when a band is less than all of them.
#include "convert/transcode.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "convert/banded_source.h"
#include "convert/exclusive_file_stream.h"
#include "convert/flatten_source.h"
#include "convert/imaging.h"
#include "convert/srgb_conversion.h"
#include "convert/upright_source.h"
#include "imagelist/declared_size.h"
#include "imagelist/exif_orientation.h"

namespace {

// Everything one transcode holds. Members are destroyed in reverse order of
// declaration: converter, palette, options, frame encoder, encoder, stream,
// file (which closes the output file), source, frame and decoder last.
struct Pipeline {
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> source;
    ComPtr<ExclusiveFileStream> file;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frameEncoder;
    ComPtr<IPropertyBag2> options;
    ComPtr<IWICPalette> palette;
    ComPtr<IWICFormatConverter> converter;
};

HRESULT scale(IWICBitmapSource* input, PixelSize target, ComPtr<IWICBitmapSource>& output)
{
    // The source bytes one request may make a scaler hold, beside the frame.
    constexpr std::uint64_t kSourceBytesPerRequest = 16 * 1024 * 1024;
    ComPtr<IWICBitmapScaler> scaler;
    RETURN_IF_FAILED(imagingFactory()->CreateBitmapScaler(&scaler));
    RETURN_IF_FAILED(scaler->Initialize(input, target.width, target.height, WICBitmapInterpolationModeFant));
    RETURN_IF_FAILED(scaler.As(&output));
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    UINT bits = 0;
    RETURN_IF_FAILED(input->GetSize(&width, &height));
    RETURN_IF_FAILED(input->GetPixelFormat(&format));
    RETURN_IF_FAILED(bitsPerPixelOf(format, bits));
    const std::uint64_t sourceRowsPerRow = (height + target.height - 1) / target.height + 1;
    const std::uint64_t bytesPerRow = (std::uint64_t{width} * bits + 7) / 8 * sourceRowsPerRow;
    const std::uint64_t rows = kSourceBytesPerRequest / std::max<std::uint64_t>(bytesPerRow, 1);
    return rows < target.height ? limitRowsPerRequest(output, static_cast<UINT>(rows)) : S_OK;
}

// Wine's converter accepts 8-bit indexed and grey sources for 24-bit BGR but
// then fails while copying pixels, so every other format is widened to 32-bit
// BGRA first. On Windows the output is the same either way.
HRESULT widenUncommonFormat(ComPtr<IWICBitmapSource>& source)
{
    WICPixelFormatGUID format{};
    RETURN_IF_FAILED(source->GetPixelFormat(&format));
    if (format == GUID_WICPixelFormat24bppBGR || format == GUID_WICPixelFormat32bppBGRA) return S_OK;
    ComPtr<IWICFormatConverter> widened;
    RETURN_IF_FAILED(imagingFactory()->CreateFormatConverter(&widened));
    RETURN_IF_FAILED(widened->Initialize(source.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                         nullptr, 0.0, WICBitmapPaletteTypeCustom));
    return widened.As(&source);
}

// Refuses, before any decoder allocates it, a file whose header declares a size
// beyond the limits, and a target the encoder could not hold in memory.
HRESULT admitSource(const std::wstring& path, PixelSize target)
{
    switch (readHeaderVerdict(path)) {
    case HeaderVerdict::TooLarge:
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    case HeaderVerdict::Broken:
        return WINCODEC_ERR_BADHEADER;
    case HeaderVerdict::Decodable:
        break;
    }
    return exceedsPixelLimit(target.width, target.height) ? WINCODEC_ERR_IMAGESIZEOUTOFRANGE : S_OK;
}

// The size the decoder reports, for the formats whose header is not read
// before; checked before any pixel is copied.
HRESULT admitFrame(IWICBitmapSource* frame)
{
    UINT width = 0;
    UINT height = 0;
    RETURN_IF_FAILED(frame->GetSize(&width, &height));
    return exceedsSizeLimits(width, height) ? WINCODEC_ERR_IMAGESIZEOUTOFRANGE : S_OK;
}

HRESULT openSource(Pipeline& p, const ImageEntry& entry, PixelSize target, const std::wstring& extension)
{
    RETURN_IF_FAILED(admitSource(entry.path, target));
    // The EXIF and profile segments the colour conversion may need.
    const std::vector<std::uint8_t> header = readFileHeader(entry.path);
    RETURN_IF_FAILED(imagingFactory()->CreateDecoderFromFilename(entry.path.c_str(), nullptr, GENERIC_READ,
                                                                 WICDecodeMetadataCacheOnLoad, &p.decoder));
    RETURN_IF_FAILED(p.decoder->GetFrame(0, &p.frame));
    RETURN_IF_FAILED(p.frame.As(&p.source));
    RETURN_IF_FAILED(admitFrame(p.source.Get()));
    // Right on the frame, so that a decoder able to scale while it decodes
    // (Windows' JPEG decoder) does; in the sides the pixels are stored in.
    // Compared with the size recorded when the image was added, not a fresh query.
    if (target.width != entry.width || target.height != entry.height)
        RETURN_IF_FAILED(scale(p.source.Get(), orientedSize(target, entry.orientation), p.source));
    // Before widening, which would reduce 16-bit sources to 8 bits; pixel by
    // pixel, so the turn below moves converted pixels just the same.
    RETURN_IF_FAILED(convertToSrgb(p.frame.Get(), header, p.source));
    RETURN_IF_FAILED(widenUncommonFormat(p.source));
    // After scaling, so a turn moves only the target's pixels.
    if (entry.orientation != 1) RETURN_IF_FAILED(turnUpright(p.source, entry.orientation));
    // The formats asked for without an alpha channel would otherwise keep
    // whatever colour a transparent pixel happens to store.
    if (requestedPixelFormat(extension) != GUID_WICPixelFormat32bppBGRA) RETURN_IF_FAILED(flattenOverWhite(p.source));
    return S_OK;
}

HRESULT openEncoder(Pipeline& p, const GUID& containerFormat)
{
    IWICImagingFactory* factory = imagingFactory();
    RETURN_IF_FAILED(factory->CreateStream(&p.stream));
    RETURN_IF_FAILED(p.stream->InitializeFromIStream(p.file.Get()));
    RETURN_IF_FAILED(factory->CreateEncoder(containerFormat, nullptr, &p.encoder));
    RETURN_IF_FAILED(p.encoder->Initialize(p.stream.Get(), WICBitmapEncoderNoCache));
    return p.encoder->CreateNewFrame(&p.frameEncoder, &p.options);
}

// Sets up the frame and gives back the pixel format the encoder settled on.
HRESULT prepareFrame(Pipeline& p, PixelSize target, const std::wstring& extension, int quality,
                     WICPixelFormatGUID& format)
{
    writeQualityOption(p.options.Get(), extension, quality);
    RETURN_IF_FAILED(p.frameEncoder->Initialize(p.options.Get()));
    RETURN_IF_FAILED(p.frameEncoder->SetSize(target.width, target.height));
    static_cast<void>(p.frameEncoder->SetResolution(96.0, 96.0));
    format = requestedPixelFormat(extension);
    return p.frameEncoder->SetPixelFormat(&format);
}

HRESULT createConverter(Pipeline& p, const std::wstring& extension, const WICPixelFormatGUID& format)
{
    IWICImagingFactory* factory = imagingFactory();
    if (extension == L".gif") {
        // Built from the scaled pixels whenever the image is scaled.
        RETURN_IF_FAILED(factory->CreatePalette(&p.palette));
        RETURN_IF_FAILED(p.palette->InitializeFromBitmap(p.source.Get(), 256, FALSE));
        static_cast<void>(p.frameEncoder->SetPalette(p.palette.Get()));
    }
    RETURN_IF_FAILED(factory->CreateFormatConverter(&p.converter));
    return p.converter->Initialize(p.source.Get(), format, WICBitmapDitherTypeErrorDiffusion, p.palette.Get(),
                                   0.0, WICBitmapPaletteTypeCustom);
}

// Hands the converted pixels to the encoder a band of rows at a time, so that
// no stage is ever asked for the whole image: Wine's WriteSource and scaler
// would each hold a full copy of it beside the decoded frame.
HRESULT writeInBands(Pipeline& p, PixelSize target, const WICPixelFormatGUID& format)
{
    constexpr std::uint64_t kBandBytes = 16 * 1024 * 1024;
    // A file changed since it was added no longer has the recorded size; as
    // WriteSource would, that fails instead of writing a part of it.
    UINT width = 0;
    UINT height = 0;
    RETURN_IF_FAILED(p.converter->GetSize(&width, &height));
    if (width != target.width || height != target.height) return WINCODEC_ERR_SOURCERECTDOESNOTMATCHDIMENSIONS;
    UINT bits = 0;
    RETURN_IF_FAILED(bitsPerPixelOf(format, bits));
    const std::uint64_t stride = (std::uint64_t{target.width} * bits + 31) / 32 * 4;
    const auto rows = static_cast<UINT>(std::clamp<std::uint64_t>(kBandBytes / stride, 1, target.height));
    if (stride * rows > UINT_MAX) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    std::vector<BYTE> band(stride * rows);
    for (UINT top = 0; top < target.height; top += rows) {
        const UINT height = std::min(rows, target.height - top);
        const WICRect area{0, static_cast<INT>(top), static_cast<INT>(target.width), static_cast<INT>(height)};
        const auto size = static_cast<UINT>(stride * height);
        RETURN_IF_FAILED(p.converter->CopyPixels(&area, static_cast<UINT>(stride), size, band.data()));
        RETURN_IF_FAILED(p.frameEncoder->WritePixels(height, static_cast<UINT>(stride), size, band.data()));
    }
    return S_OK;
}

HRESULT encode(Pipeline& p, PixelSize target, const GUID& containerFormat, const std::wstring& extension,
               int quality)
{
    RETURN_IF_FAILED(openEncoder(p, containerFormat));
    WICPixelFormatGUID format{};
    RETURN_IF_FAILED(prepareFrame(p, target, extension, quality, format));
    RETURN_IF_FAILED(createConverter(p, extension, format));
    RETURN_IF_FAILED(writeInBands(p, target, format));
    RETURN_IF_FAILED(p.frameEncoder->Commit());
    return p.encoder->Commit();
}

}  // namespace

HRESULT transcodeImageToSize(const ImageEntry& entry, PixelSize target, const std::wstring& outputPath,
                             const GUID& containerFormat, const std::wstring& extension, int quality)
{
    Pipeline p;
    RETURN_IF_FAILED(openSource(p, entry, target, extension));
    RETURN_IF_FAILED(ExclusiveFileStream::create(outputPath, p.file));
    // Unless kept, the file this call created vanishes when the pipeline closes it.
    const HRESULT committed = encode(p, target, containerFormat, extension, quality);
    RETURN_IF_FAILED(committed);
    RETURN_IF_FAILED(p.file->keep());
    return committed;
}

void writeQualityOption(IPropertyBag2* options, std::wstring_view extension, int quality)
{
    if (options == nullptr) return;
    if (extension != L".jpg" && extension != L".jfif" && extension != L".webp" && extension != L".tif") return;
    PROPBAG2 property{};
    property.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = static_cast<float>(quality / 100.0);
    // An encoder that rejects the option still writes the image.
    static_cast<void>(options->Write(1, &property, &value));
    VariantClear(&value);
}

WICPixelFormatGUID requestedPixelFormat(std::wstring_view extension)
{
    if (extension == L".gif") return GUID_WICPixelFormat8bppIndexed;
    if (extension == L".jpg" || extension == L".jfif" || extension == L".bmp") return GUID_WICPixelFormat24bppBGR;
    return GUID_WICPixelFormat32bppBGRA;
}
