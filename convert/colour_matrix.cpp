// Plain double-precision arithmetic; built once per profile, never per pixel.
#include "convert/colour_matrix.h"

Matrix3 multiply(const Matrix3& a, const Matrix3& b)
{
    Matrix3 product{};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            for (int k = 0; k < 3; ++k) product[row][column] += a[row][k] * b[k][column];
    return product;
}

Vector3 multiply(const Matrix3& m, const Vector3& v)
{
    Vector3 product{};
    for (int row = 0; row < 3; ++row)
        for (int k = 0; k < 3; ++k) product[row] += m[row][k] * v[k];
    return product;
}

Matrix3 inverse(const Matrix3& m)
{
    Matrix3 cofactors{};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int r1 = (row + 1) % 3, r2 = (row + 2) % 3, c1 = (column + 1) % 3, c2 = (column + 2) % 3;
            // Transposed: the adjugate.
            cofactors[column][row] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
        }
    const double determinant = m[0][0] * cofactors[0][0] + m[0][1] * cofactors[1][0] + m[0][2] * cofactors[2][0];
    if (determinant == 0.0) return Matrix3{};
    for (auto& row : cofactors)
        for (double& value : row) value /= determinant;
    return cofactors;
}

Vector3 xyzOfChromaticity(double x, double y)
{
    return {x / y, 1.0, (1.0 - x - y) / y};
}

Matrix3 rgbToXyz(const std::array<std::array<double, 2>, 3>& primaries, const Vector3& white)
{
    Matrix3 columns{};
    for (int channel = 0; channel < 3; ++channel) {
        const Vector3 xyz = xyzOfChromaticity(primaries[channel][0], primaries[channel][1]);
        for (int row = 0; row < 3; ++row) columns[row][channel] = xyz[row];
    }
    // Each primary's share, so that equal full channels make the white.
    const Vector3 scale = multiply(inverse(columns), white);
    for (auto& row : columns)
        for (int channel = 0; channel < 3; ++channel) row[channel] *= scale[channel];
    return columns;
}

Matrix3 bradford(const Vector3& from, const Vector3& to)
{
    constexpr Matrix3 kCones{{{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
    const Vector3 fromCones = multiply(kCones, from);
    const Vector3 toCones = multiply(kCones, to);
    Matrix3 gains{};
    for (int i = 0; i < 3; ++i) gains[i][i] = toCones[i] / fromCones[i];
    return multiply(inverse(kCones), multiply(gains, kCones));
}
