// Untrusted bytes at any offset, from memory or from a file, so that the header
// parsers can jump to what they need without reading what lies between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // At most count bytes from offset, fewer where the source ends; valid until the next call.
    virtual std::span<const std::uint8_t> view(std::uint64_t offset, std::size_t count) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t size() const override { return bytes_.size(); }

    std::span<const std::uint8_t> view(std::uint64_t offset, std::size_t count) override
    {
        if (offset >= bytes_.size()) return {};
        const std::size_t start = static_cast<std::size_t>(offset);
        return bytes_.subspan(start, count < bytes_.size() - start ? count : bytes_.size() - start);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// A copy of at most count bytes from offset, for structures read while the source moves on.
inline std::vector<std::uint8_t> copyBytes(ByteSource& source, std::uint64_t offset, std::size_t count)
{
    const std::span<const std::uint8_t> bytes = source.view(offset, count);
    return {bytes.begin(), bytes.end()};
}
