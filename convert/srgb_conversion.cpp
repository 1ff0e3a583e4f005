// The decoder's colour contexts come first, as the decoder knows its format
// best; Wine's JPEG decoder hands out none, so the file's own bytes follow.
#include "convert/srgb_conversion.h"

#include <optional>
#include <vector>

#include "convert/colour_source.h"
#include "convert/icc_profile.h"
#include "imagelist/embedded_profile.h"

namespace {
// What EXIF colour space contexts call Adobe RGB.
constexpr UINT kExifAdobeRgb = 2;

struct FoundProfile {
    std::vector<std::uint8_t> bytes;
    bool adobeRgb = false;  // marked so without profile bytes
};

// The first profile or EXIF colour space among the decoder's colour contexts;
// a decoder that has none or cannot give them leaves found empty.
HRESULT decoderProfile(IWICBitmapFrameDecode* frame, FoundProfile& found)
{
    UINT count = 0;
    if (FAILED(frame->GetColorContexts(0, nullptr, &count)) || count == 0) return S_OK;
    std::vector<ComPtr<IWICColorContext>> contexts(count);
    std::vector<IWICColorContext*> pointers(count);
    for (UINT i = 0; i < count; ++i) {
        RETURN_IF_FAILED(imagingFactory()->CreateColorContext(&contexts[i]));
        pointers[i] = contexts[i].Get();
    }
    if (FAILED(frame->GetColorContexts(count, pointers.data(), &count))) return S_OK;
    for (UINT i = 0; i < count && i < pointers.size(); ++i) {
        WICColorContextType type{};
        UINT value = 0;
        RETURN_IF_FAILED(pointers[i]->GetType(&type));
        if (type == WICColorContextExifColorSpace && SUCCEEDED(pointers[i]->GetExifColorSpace(&value))) {
            found.adobeRgb = value == kExifAdobeRgb;
            return S_OK;
        }
        if (type != WICColorContextProfile || FAILED(pointers[i]->GetProfileBytes(0, nullptr, &value))) continue;
        found.bytes.resize(value);
        RETURN_IF_FAILED(pointers[i]->GetProfileBytes(value, found.bytes.data(), &value));
        return S_OK;
    }
    return S_OK;
}

FoundProfile fileProfile(std::span<const std::uint8_t> header)
{
    FoundProfile found{jpegIccProfile(header)};
    if (found.bytes.empty()) {
        const std::span<const std::uint8_t> tiff = tiffIccProfile(header);
        found.bytes.assign(tiff.begin(), tiff.end());
    }
    found.adobeRgb = found.bytes.empty() && exifMarksAdobeRgb(header);
    return found;
}

// Lookup-table, CMYK and Lab profiles: the platform's colour engine, where it
// takes the source; where it does not, the pixels stay as decoded.
HRESULT transformByPlatform(const std::vector<std::uint8_t>& profile, ComPtr<IWICBitmapSource>& source)
{
    IWICImagingFactory* factory = imagingFactory();
    ComPtr<IWICColorContext> from;
    ComPtr<IWICColorContext> srgb;
    ComPtr<IWICColorTransform> transform;
    RETURN_IF_FAILED(factory->CreateColorContext(&from));
    RETURN_IF_FAILED(factory->CreateColorContext(&srgb));
    RETURN_IF_FAILED(factory->CreateColorTransformer(&transform));
    if (FAILED(from->InitializeFromMemory(profile.data(), static_cast<UINT>(profile.size()))) ||
        FAILED(srgb->InitializeFromExifColorSpace(1)) ||
        FAILED(transform->Initialize(source.Get(), from.Get(), srgb.Get(), GUID_WICPixelFormat32bppBGRA)))
        return S_OK;
    return transform.As(&source);
}
}  // namespace

HRESULT convertToSrgb(IWICBitmapFrameDecode* frame, std::span<const std::uint8_t> header,
                      ComPtr<IWICBitmapSource>& source)
{
    FoundProfile found;
    RETURN_IF_FAILED(decoderProfile(frame, found));
    if (found.bytes.empty() && !found.adobeRgb) found = fileProfile(header);
    const std::optional<IccProfile> profile = found.adobeRgb ? adobeRgbProfile() : parseIccProfile(found.bytes);
    if (!profile) return S_OK;
    if (profile->kind == IccProfile::Kind::Other) return transformByPlatform(found.bytes, source);
    return convertMatrixProfile(source, *profile);
}
