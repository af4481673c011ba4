#include "scenes/tunnel/InverseCamera.h"

#include <cmath>

show::Mat4 inverseCamera(const show::Mat4& camera)
{
    auto a = [&](int row, int column) { return camera.at(row, column); };
    const float c00 = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    const float c01 = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
    const float c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const float determinant = a(0, 0) * c00 + a(0, 1) * c01 + a(0, 2) * c02;
    if (!(std::fabs(determinant) > 1e-12f))
        return show::Mat4::identity();
    const float f = 1.0f / determinant;
    // inverse(r, c) = cofactor(c, r) / determinant
    float inv[3][3];
    inv[0][0] = c00 * f;
    inv[1][0] = c01 * f;
    inv[2][0] = c02 * f;
    inv[0][1] = (a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2)) * f;
    inv[1][1] = (a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0)) * f;
    inv[2][1] = (a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)) * f;
    inv[0][2] = (a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1)) * f;
    inv[1][2] = (a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2)) * f;
    inv[2][2] = (a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)) * f;
    show::Mat4 result = show::Mat4::identity();
    for (int r = 0; r < 3; ++r) {
        float moved = 0.0f;
        for (int c = 0; c < 3; ++c) {
            result.m[c * 4 + r] = inv[r][c];
            moved += inv[r][c] * a(c, 3);
        }
        result.m[12 + r] = -moved;
    }
    return result;
}
