// Converts rows of pixels stored under a matrix/TRC profile to sRGB: tone
// curves to linear light, one 3 x 3 matrix through the D50 connection space,
// then the sRGB encoding clipped to 0..1. Alpha passes through untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "convert/colour_matrix.h"
#include "convert/icc_profile.h"

// How a row is stored, the 16-bit layouts last. 8-bit rows keep their layout;
// 16-bit rows (native byte order) come out as 8-bit BGR, or BGRA with alpha.
enum class PixelLayout { Bgr8, Bgra8, Rgb16, Rgba16, Grey16 };

class ColourTransform {
public:
    // Nothing when the profile is sRGB within a fraction of a level, so that
    // such sources need no stage at all. The tables are made for 8-bit or
    // 16-bit values.
    static std::optional<ColourTransform> toSrgb(const IccProfile& profile, bool sixteenBit);

    void convertRow(PixelLayout layout, const std::uint8_t* in, std::uint8_t* out, std::size_t count) const;

private:
    ColourTransform() = default;

    template <typename Value, std::size_t kIn, std::size_t kOut>
    void convert(const std::uint8_t* in, std::uint8_t* out, std::size_t count, const int (&order)[3]) const;

    // Linear light of every stored value, per channel, one table after another.
    std::vector<float> linear_;
    std::size_t levels_ = 0;
    float matrix_[3][3] = {};
};
