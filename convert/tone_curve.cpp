// Curves are evaluated in double precision and only ever called while lookup
// tables are built, never per pixel.
#include "convert/tone_curve.h"

#include <algorithm>
#include <cmath>

namespace {
// A base below zero would give no real power; the curves treat it as zero.
double power(double base, double exponent)
{
    return std::pow(std::max(base, 0.0), exponent);
}

double parametricValue(int function, const std::array<double, 7>& p, double x)
{
    const auto [g, a, b, c, d, e, f] = p;
    switch (function) {
    case 1: return x >= -b / a ? power(a * x + b, g) : 0.0;
    case 2: return x >= -b / a ? power(a * x + b, g) + c : c;
    case 3: return x >= d ? power(a * x + b, g) : c * x;
    case 4: return x >= d ? power(a * x + b, g) + e : c * x + f;
    default: return power(x, g);
    }
}

double tableValue(const std::vector<std::uint16_t>& table, double x)
{
    const double position = x * static_cast<double>(table.size() - 1);
    const std::size_t below = static_cast<std::size_t>(position);
    if (below + 1 >= table.size()) return table.back() / 65535.0;
    const double weight = position - static_cast<double>(below);
    return (table[below] * (1.0 - weight) + table[below + 1] * weight) / 65535.0;
}
}  // namespace

ToneCurve ToneCurve::gamma(double g)
{
    ToneCurve curve;
    curve.kind = Kind::Gamma;
    curve.parameters[0] = g;
    return curve;
}

ToneCurve ToneCurve::parametric(int function, const std::array<double, 7>& parameters)
{
    ToneCurve curve;
    curve.kind = Kind::Parametric;
    curve.function = function;
    curve.parameters = parameters;
    return curve;
}

double ToneCurve::toLinear(double stored) const
{
    const double x = std::clamp(stored, 0.0, 1.0);
    double y = x;
    if (kind == Kind::Gamma) y = power(x, parameters[0]);
    if (kind == Kind::Table) y = tableValue(table, x);
    if (kind == Kind::Parametric) y = parametricValue(function, parameters, x);
    // Not-a-number fails both comparisons and ends as zero.
    return y > 0.0 ? std::min(y, 1.0) : 0.0;
}

double srgbFromLinear(double linear)
{
    const double x = std::clamp(linear, 0.0, 1.0);
    return x <= 0.0031308 ? 12.92 * x : 1.055 * std::pow(x, 1.0 / 2.4) - 0.055;
}
