// The tone curves of ICC profiles: how a stored channel value maps to linear
// light, as an identity, a pure gamma, a sampled table or one of the
// parametric functions 0-4.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct ToneCurve {
    enum class Kind { Identity, Gamma, Table, Parametric };
    Kind kind = Kind::Identity;
    // Parametric function 0-4 with g, a, b, c, d, e, f; a pure gamma keeps g only.
    int function = 0;
    std::array<double, 7> parameters{1.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    // Evenly spaced samples over 0..1, 0..65535 for 0..1.
    std::vector<std::uint16_t> table;

    static ToneCurve gamma(double g);
    static ToneCurve parametric(int function, const std::array<double, 7>& parameters);

    // Linear light for a stored value, both in 0..1; the result is clipped to 0..1.
    double toLinear(double stored) const;
};

// The sRGB encoding of linear light in 0..1.
double srgbFromLinear(double linear);
