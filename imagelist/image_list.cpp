// The program-wide ImageList and probing through the imaging factory.
#include "imagelist/image_list.h"

#include <filesystem>
#include <system_error>

#include "convert/imaging.h"

namespace {
std::vector<ImageEntry> gImageList;
}

std::vector<ImageEntry>& imageList()
{
    return gImageList;
}

bool probeImage(const std::wstring& path, ImageEntry& entry)
{
    // The frame is declared after the decoder so that it is released first.
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(imagingFactory()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand, &decoder)))
        return false;
    if (FAILED(decoder->GetFrame(0, &frame))) return false;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height))) return false;
    entry.width = width;
    entry.height = height;
    entry.path = path;
    // file_size follows links; a size that cannot be read does not make the image unusable.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(path), error);
    entry.fileSize = error ? 0 : size;
    return true;
}
