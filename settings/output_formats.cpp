// The output-format row behind a combo selection, and the format class that
// lets the forecast treat the several spellings of one format alike.
#include "settings/output_formats.h"

#include <algorithm>
#include <cwctype>

#include "imagelist/image_entry.h"

namespace {

// The extension of a bare file name: the final dot alone for "name.", nothing
// for "..", one-character names and names whose only dot leads them.
std::wstring_view extensionOf(std::wstring_view name)
{
    if (name.size() <= 1 || name == L"..") return {};
    if (name.back() == L'.') return name.substr(name.size() - 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring_view::npos || dot == 0) return {};
    return name.substr(dot);
}

}  // namespace

const OutputFormat& outputFormatAt(long long selection)
{
    const long long last = static_cast<long long>(kOutputFormats.size()) - 1;
    return kOutputFormats[static_cast<std::size_t>(std::clamp(selection, 0LL, last))];
}

std::wstring formatClassOf(std::wstring_view nameOrExtension)
{
    std::wstring name = fileNameOf(nameOrExtension);
    // Whatever follows a colon names an alternate data stream, not the file.
    name.erase(std::min(name.find(L':'), name.size()));

    std::wstring formatClass(extensionOf(name));
    if (formatClass.empty() && nameOrExtension.starts_with(L'.')) formatClass = nameOrExtension;

    for (wchar_t& c : formatClass) c = static_cast<wchar_t>(std::towlower(c));

    if (formatClass == L".jpeg" || formatClass == L".jpe" || formatClass == L".jfif") return L".jpg";
    if (formatClass == L".tiff") return L".tif";
    return formatClass;
}
