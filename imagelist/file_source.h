// The one place the header parsers read a file: a window of it at a time, found
// by seeking, so that skipping a long segment costs no reading.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "imagelist/byte_source.h"

class FileSource final : public ByteSource {
public:
    // A file that cannot be opened reads as empty.
    explicit FileSource(const std::wstring& path);

    std::uint64_t size() const override { return size_; }
    std::span<const std::uint8_t> view(std::uint64_t offset, std::size_t count) override;

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
    std::uint64_t windowStart_ = 0;
    std::vector<std::uint8_t> window_;
};
