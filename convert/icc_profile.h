// What Lumora reads from an ICC colour profile: whether it is a matrix/TRC
// profile (RGB colorants with tone curves, or a grey tone curve) it converts
// itself, or another valid profile only a colour engine can apply.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "convert/colour_matrix.h"
#include "convert/tone_curve.h"

struct IccProfile {
    enum class Kind {
        Rgb,    // colorants and three tone curves, XYZ connection space
        Grey,   // one grey tone curve, XYZ connection space
        Other,  // valid, but lookup-table based, CMYK, Lab or the like
    };
    Kind kind = Kind::Other;
    // Columns red, green and blue of the matrix to D50 XYZ; rows X, Y, Z.
    Matrix3 toXyz{};
    // Red, green and blue; grey uses all three alike.
    std::array<ToneCurve, 3> curves{};
};

// Nothing when the bytes are no profile, or any size, offset or count in them
// points outside the profile.
std::optional<IccProfile> parseIccProfile(std::span<const std::uint8_t> bytes);

// Adobe RGB (1998) from its published primaries, D65 white and gamma 563/256,
// adapted to D50 as profiles store it.
IccProfile adobeRgbProfile();
