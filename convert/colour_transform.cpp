// Per pixel only table look-ups and one small matrix product: the curves are
// sampled once per profile, and the sRGB encoding once per process.
#include "convert/colour_transform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
// sRGB's colorants as the sRGB profile stores them, adapted to D50.
constexpr Matrix3 kSrgbToXyz{{{0.4360747, 0.3850649, 0.1430804},
                              {0.2225045, 0.7168786, 0.0606169},
                              {0.0139322, 0.0971045, 0.7141733}}};
constexpr double kColorantTolerance = 0.002;
// Linear light in steps fine enough that even the steep start of the sRGB
// encoding moves by less than a quarter level per step.
constexpr int kEncodeSteps = 16384;

const std::array<std::uint8_t, kEncodeSteps + 1>& srgbEncoding()
{
    static const std::array<std::uint8_t, kEncodeSteps + 1> table = [] {
        std::array<std::uint8_t, kEncodeSteps + 1> values{};
        for (int i = 0; i <= kEncodeSteps; ++i)
            values[i] = static_cast<std::uint8_t>(std::lround(255.0 * srgbFromLinear(double(i) / kEncodeSteps)));
        return values;
    }();
    return table;
}

bool curveMatchesSrgb(const ToneCurve& curve)
{
    for (int level = 0; level < 256; ++level)
        if (std::abs(255.0 * srgbFromLinear(curve.toLinear(level / 255.0)) - level) >= 0.5) return false;
    return true;
}

bool matchesSrgb(const IccProfile& profile)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (profile.kind == IccProfile::Kind::Rgb &&
                std::abs(profile.toXyz[row][column] - kSrgbToXyz[row][column]) > kColorantTolerance)
                return false;
    return std::all_of(profile.curves.begin(), profile.curves.end(), curveMatchesSrgb);
}

std::uint16_t valueAt(const std::uint8_t* in, std::size_t index, std::uint8_t)
{
    return in[index];
}

std::uint16_t valueAt(const std::uint8_t* in, std::size_t index, std::uint16_t)
{
    std::uint16_t value = 0;
    std::memcpy(&value, in + 2 * index, 2);
    return value;
}

std::uint8_t alphaByte(std::uint16_t alpha, std::uint8_t)
{
    return static_cast<std::uint8_t>(alpha);
}

std::uint8_t alphaByte(std::uint16_t alpha, std::uint16_t)
{
    return static_cast<std::uint8_t>((alpha * 255u + 32767u) / 65535u);
}
}  // namespace

std::optional<ColourTransform> ColourTransform::toSrgb(const IccProfile& profile, bool sixteenBit)
{
    if (profile.kind == IccProfile::Kind::Other || matchesSrgb(profile)) return std::nullopt;
    ColourTransform transform;
    transform.levels_ = sixteenBit ? 65536 : 256;
    transform.linear_.resize(3 * transform.levels_);
    for (std::size_t channel = 0; channel < 3; ++channel)
        for (std::size_t value = 0; value < transform.levels_; ++value)
            transform.linear_[channel * transform.levels_ + value] = static_cast<float>(
                profile.curves[channel].toLinear(static_cast<double>(value) / double(transform.levels_ - 1)));
    const Matrix3 matrix = profile.kind == IccProfile::Kind::Grey ? Matrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}
                                                                  : multiply(inverse(kSrgbToXyz), profile.toXyz);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            transform.matrix_[row][column] = static_cast<float>(matrix[row][column]);
    return transform;
}

// order gives where red, green and blue sit in an input pixel; a grey input
// names its one value three times. Outputs are BGR, then alpha when kOut is 4.
template <typename Value, std::size_t kIn, std::size_t kOut>
void ColourTransform::convert(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                              const int (&order)[3]) const
{
    const std::uint8_t* encode = srgbEncoding().data();
    const float* red = linear_.data();
    const float* green = red + levels_;
    const float* blue = green + levels_;
    for (std::size_t i = 0; i < count; ++i, out += kOut) {
        const std::size_t first = i * kIn;
        const float rgb[3] = {red[valueAt(in, first + order[0], Value{})],
                              green[valueAt(in, first + order[1], Value{})],
                              blue[valueAt(in, first + order[2], Value{})]};
        for (int channel = 0; channel < 3; ++channel) {
            const float* m = matrix_[channel];
            const float linear = std::clamp(m[0] * rgb[0] + m[1] * rgb[1] + m[2] * rgb[2], 0.0f, 1.0f);
            out[2 - channel] = encode[static_cast<int>(linear * kEncodeSteps + 0.5f)];
        }
        if constexpr (kOut == 4) out[3] = alphaByte(valueAt(in, first + 3, Value{}), Value{});
    }
}

void ColourTransform::convertRow(PixelLayout layout, const std::uint8_t* in, std::uint8_t* out,
                                 std::size_t count) const
{
    switch (layout) {
    case PixelLayout::Bgr8: return convert<std::uint8_t, 3, 3>(in, out, count, {2, 1, 0});
    case PixelLayout::Bgra8: return convert<std::uint8_t, 4, 4>(in, out, count, {2, 1, 0});
    case PixelLayout::Rgb16: return convert<std::uint16_t, 3, 3>(in, out, count, {0, 1, 2});
    case PixelLayout::Rgba16: return convert<std::uint16_t, 4, 4>(in, out, count, {0, 1, 2});
    case PixelLayout::Grey16: return convert<std::uint16_t, 1, 3>(in, out, count, {0, 0, 0});
    }
}
