// Reads ahead a little beyond what is asked, since parsers mostly take a few
// bytes at a time from neighbouring offsets.
#include "imagelist/file_source.h"

#include <algorithm>
#include <filesystem>

namespace {
constexpr std::size_t kReadAhead = 4096;
}  // namespace

FileSource::FileSource(const std::wstring& path) : file_(std::filesystem::path(path), std::ios::binary)
{
    if (file_.seekg(0, std::ios::end)) size_ = std::max<std::streamoff>(file_.tellg(), 0);
}

std::span<const std::uint8_t> FileSource::view(std::uint64_t offset, std::size_t count)
{
    if (offset >= size_) return {};
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    const bool inWindow = offset >= windowStart_ && offset - windowStart_ + count <= window_.size();
    if (!inWindow) {
        window_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(std::max(count, kReadAhead), size_ - offset)));
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        file_.read(reinterpret_cast<char*>(window_.data()), static_cast<std::streamsize>(window_.size()));
        // A file that shrank since it was opened yields what is still there.
        window_.resize(static_cast<std::size_t>(std::max<std::streamsize>(file_.gcount(), 0)));
        windowStart_ = offset;
    }
    const std::size_t start = static_cast<std::size_t>(offset - windowStart_);
    return std::span<const std::uint8_t>(window_).subspan(start, std::min(count, window_.size() - start));
}
