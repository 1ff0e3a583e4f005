// The program-wide ImageList and probing through the imaging factory.
#include "imagelist/image_list.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "convert/imaging.h"
#include "imagelist/declared_size.h"
#include "imagelist/exif_orientation.h"
#include "imagelist/orientation_reader.h"

namespace {
ImageList gImageList;

// Frame 0's size as stored; decoder and frame are released before it returns.
bool storedFrameSize(const std::wstring& path, PixelSize& size)
{
    // The frame is declared after the decoder so that it is released first.
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(imagingFactory()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand, &decoder)))
        return false;
    if (FAILED(decoder->GetFrame(0, &frame))) return false;
    if (FAILED(frame->GetSize(&size.width, &size.height))) return false;
    // For the formats whose header is not read before: still before any pixel is copied.
    return !exceedsSizeLimits(size.width, size.height);
}
}  // namespace

bool ImageList::append(ImageEntry entry)
{
    if (!foldedPaths_.insert(asciiCaseFolded(entry.path)).second) return false;
    entries_.push_back(std::move(entry));
    return true;
}

void ImageList::erase(const std::vector<std::size_t>& ascendingIndices)
{
    // One pass that closes the gaps, so removing a long run of rows does not
    // move the tail once per row.
    std::size_t kept = 0;
    auto next = ascendingIndices.begin();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (next != ascendingIndices.end() && *next == i) {
            foldedPaths_.erase(asciiCaseFolded(entries_[i].path));
            ++next;
            continue;
        }
        if (kept != i) entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    entries_.resize(kept);
}

void ImageList::clear()
{
    entries_.clear();
    foldedPaths_.clear();
}

bool ImageList::contains(std::wstring_view path) const
{
    return foldedPaths_.contains(asciiCaseFolded(path));
}

ImageList& imageList()
{
    return gImageList;
}

bool probeImage(const std::wstring& path, ImageEntry& entry)
{
    // Decoders allocate the whole declared image while they open, so a hostile
    // header never reaches one.
    if (readHeaderVerdict(path) != HeaderVerdict::Decodable) return false;
    PixelSize stored;
    if (!storedFrameSize(path, stored)) return false;
    entry.orientation = readOrientation(path, readFileHeader(path));
    const PixelSize shown = orientedSize(stored, entry.orientation);
    entry.width = shown.width;
    entry.height = shown.height;
    entry.path = path;
    // file_size follows links; a size that cannot be read does not make the image unusable.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(path), error);
    entry.fileSize = error ? 0 : size;
    return true;
}
