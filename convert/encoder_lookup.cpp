// Walks WIC's installed encoders and matches their extension lists.
#include "convert/encoder_lookup.h"

#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "convert/imaging.h"

namespace {

std::wstring lowerCased(std::wstring_view text)
{
    std::wstring result(text);
    for (wchar_t& c : result) c = static_cast<wchar_t>(std::towlower(c));
    return result;
}

// Up to its first NUL; nullopt when the encoder reports no list at all.
std::optional<std::wstring> extensionListOf(IWICBitmapCodecInfo& info)
{
    UINT length = 0;
    // Asks only for the length; the result of this call says nothing more.
    info.GetFileExtensions(0, nullptr, &length);
    if (length == 0) return std::nullopt;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    UINT written = 0;
    if (FAILED(info.GetFileExtensions(static_cast<UINT>(buffer.size()), buffer.data(), &written)))
        return std::nullopt;
    return std::wstring(buffer.data());
}

}  // namespace

bool encoderExtensionsMatch(std::wstring_view extensionList, std::wstring_view wantedExtension)
{
    const std::wstring list = lowerCased(extensionList);
    const std::wstring wanted = lowerCased(wantedExtension);
    // An empty wanted extension, and ".tif" against ".tiff", match through the
    // substring test itself; separators are deliberately not respected.
    if (list.find(wanted) != std::wstring::npos) return true;
    return wanted == L".jfif" && list.find(L".jpg") != std::wstring::npos;
}

bool findEncoder(std::wstring_view extension, GUID& containerFormat)
{
    ComPtr<IEnumUnknown> encoders;
    if (FAILED(imagingFactory()->CreateComponentEnumerator(WICEncoder, WICComponentEnumerateDefault, &encoders)))
        return false;
    for (;;) {
        ComPtr<IUnknown> component;
        ULONG fetched = 0;
        if (encoders->Next(1, &component, &fetched) != S_OK || fetched != 1) return false;
        ComPtr<IWICBitmapCodecInfo> info;
        if (FAILED(component.As(&info))) continue;
        const std::optional<std::wstring> list = extensionListOf(*info.Get());
        if (!list || !encoderExtensionsMatch(*list, extension)) continue;
        // The first match decides, even when its container format is unreadable.
        return SUCCEEDED(info->GetContainerFormat(&containerFormat));
    }
}
