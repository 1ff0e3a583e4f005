// Locating the IFD is ours, reading it the imaging component's: the frame's own
// metadata reader finds no EXIF block in a JPEG under Wine. Every entry is
// checked against the stream's size first, since Wine's IFD reader trusts the
// value counts it is given.
#include "imagelist/orientation_reader.h"

#include <wincodecsdk.h>

#include <vector>

#include "convert/imaging.h"
#include "imagelist/byte_reader.h"
#include "imagelist/exif_orientation.h"

namespace {
// CLSID_WICIfdMetadataReader, which mingw-w64's uuid library lacks.
constexpr GUID kIfdMetadataReader = {0x8f914656, 0x9d0a, 0x4eb2, {0x90, 0x19, 0x0b, 0xf9, 0x6d, 0x8a, 0x9e, 0xe6}};
constexpr std::uint16_t kOrientationTag = 274;

HRESULT seek(IStream* stream, std::uint64_t offset)
{
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    return stream->Seek(position, STREAM_SEEK_SET, nullptr);
}

HRESULT readExactly(IStream* stream, std::uint64_t offset, std::vector<std::uint8_t>& bytes)
{
    RETURN_IF_FAILED(seek(stream, offset));
    ULONG read = 0;
    RETURN_IF_FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read));
    return read == bytes.size() ? S_OK : WINCODEC_ERR_BADMETADATAHEADER;
}

// The first IFD of a stream that begins with a TIFF header, checked, with the
// stream left at its start for the reader.
HRESULT locateFirstIfd(IStream* stream, IfdLocation& location)
{
    STATSTG status{};
    RETURN_IF_FAILED(stream->Stat(&status, STATFLAG_NONAME));
    std::vector<std::uint8_t> bytes(8);
    RETURN_IF_FAILED(readExactly(stream, 0, bytes));
    const std::optional<IfdLocation> found = firstIfd(bytes);
    if (!found) return WINCODEC_ERR_BADMETADATAHEADER;
    bytes.resize(2);
    RETURN_IF_FAILED(readExactly(stream, found->offset, bytes));
    bytes.resize(ifdByteSize(*ByteReader(bytes, found->bigEndian).u16(0)));
    RETURN_IF_FAILED(readExactly(stream, found->offset, bytes));
    if (!ifdValuesInBounds(bytes, found->bigEndian, status.cbSize.QuadPart)) return WINCODEC_ERR_BADMETADATAHEADER;
    location = *found;
    return seek(stream, found->offset);
}

HRESULT orientationFromTiff(IStream* stream, std::uint16_t& orientation)
{
    IfdLocation location;
    RETURN_IF_FAILED(locateFirstIfd(stream, location));
    ComPtr<IWICPersistStream> persist;
    RETURN_IF_FAILED(CoCreateInstance(kIfdMetadataReader, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&persist)));
    RETURN_IF_FAILED(persist->LoadEx(stream, nullptr,
                                     location.bigEndian ? WICPersistOptionBigEndian : WICPersistOptionLittleEndian));
    ComPtr<IWICMetadataReader> reader;
    RETURN_IF_FAILED(persist.As(&reader));
    PROPVARIANT id;
    PropVariantInit(&id);
    id.vt = VT_UI2;
    id.uiVal = kOrientationTag;
    PROPVARIANT value;
    PropVariantInit(&value);
    RETURN_IF_FAILED(reader->GetValue(nullptr, &id, &value));
    if (value.vt == VT_UI2 && value.uiVal >= 1 && value.uiVal <= 8) orientation = value.uiVal;
    PropVariantClear(&value);
    return S_OK;
}

// A stream over the TIFF part: the APP1 segment's copy for a JPEG, the file itself for a TIFF.
HRESULT openTiffPart(const std::wstring& path, std::span<const std::uint8_t> header,
                     std::vector<std::uint8_t>& copy, ComPtr<IWICStream>& stream)
{
    RETURN_IF_FAILED(imagingFactory()->CreateStream(&stream));
    if (firstIfd(header)) return stream->InitializeFromFilename(path.c_str(), GENERIC_READ);
    const std::span<const std::uint8_t> part = exifTiffPart(header);
    if (part.empty()) return WINCODEC_ERR_PROPERTYNOTFOUND;
    copy.assign(part.begin(), part.end());
    return stream->InitializeFromMemory(copy.data(), static_cast<DWORD>(copy.size()));
}
}  // namespace

std::uint16_t readOrientation(const std::wstring& path, std::span<const std::uint8_t> header)
{
    std::vector<std::uint8_t> copy;
    ComPtr<IWICStream> stream;
    std::uint16_t orientation = 1;
    if (SUCCEEDED(openTiffPart(path, header, copy, stream)))
        static_cast<void>(orientationFromTiff(stream.Get(), orientation));
    return orientation;
}
