// Bounds-checked reads of big- and little-endian numbers from untrusted bytes:
// every read outside the buffer yields nothing instead of touching memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, bool bigEndian = true)
        : bytes_(bytes), bigEndian_(bigEndian)
    {
    }

    std::size_t size() const { return bytes_.size(); }

    // True when count bytes from offset lie inside the buffer; never overflows.
    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    bool matches(std::size_t offset, std::string_view text) const
    {
        if (!has(offset, text.size())) return false;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (bytes_[offset + i] != static_cast<std::uint8_t>(text[i])) return false;
        return true;
    }

    std::optional<std::uint8_t> u8(std::size_t offset) const { return number<std::uint8_t>(offset, 1); }
    std::optional<std::uint16_t> u16(std::size_t offset) const { return number<std::uint16_t>(offset, 2); }
    std::optional<std::uint32_t> u32(std::size_t offset) const { return number<std::uint32_t>(offset, 4); }

    // The bytes from offset to the end; empty when offset lies beyond it.
    std::span<const std::uint8_t> from(std::size_t offset) const
    {
        return offset <= bytes_.size() ? bytes_.subspan(offset) : std::span<const std::uint8_t>();
    }

private:
    template <typename Number>
    std::optional<Number> number(std::size_t offset, std::size_t count) const
    {
        if (!has(offset, count)) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t index = bigEndian_ ? i : count - 1 - i;
            value = (value << 8) | bytes_[offset + index];
        }
        return static_cast<Number>(value);
    }

    std::span<const std::uint8_t> bytes_;
    bool bigEndian_;
};
