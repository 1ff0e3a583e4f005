// 3 x 3 matrices for the colour maths: products, inverses, the RGB-to-XYZ
// matrix of a set of primaries and the Bradford adaptation between whites.
#pragma once

#include <array>

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Vector3 = std::array<double, 3>;

Matrix3 multiply(const Matrix3& a, const Matrix3& b);
Vector3 multiply(const Matrix3& m, const Vector3& v);
// The inverse; all zeros for a singular matrix.
Matrix3 inverse(const Matrix3& m);

// XYZ of chromaticity x, y at luminance 1.
Vector3 xyzOfChromaticity(double x, double y);
// Linear RGB to XYZ for primaries (x, y) red, green, blue, white at Y = 1.
Matrix3 rgbToXyz(const std::array<std::array<double, 2>, 3>& primaries, const Vector3& white);
// Bradford chromatic adaptation of XYZ from one white to another.
Matrix3 bradford(const Vector3& from, const Vector3& to);

// The ICC connection space's D50 white.
inline constexpr Vector3 kD50{0.9642, 1.0, 0.8249};
