#include "scenes/shadow/ScreenBox.h"

#include "core/ShowMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

show::Mat4 matrixOf(const float (&m)[16])
{
    show::Mat4 matrix;
    std::memcpy(matrix.m, m, sizeof matrix.m);
    return matrix;
}

} // namespace

bool sphereScreenBox(const float (&projection)[16], const float (&modelView)[16], const float (&centre)[3],
                     float radius, int viewportWidth, int viewportHeight, int margin, ScreenBox& box)
{
    // The cube around the sphere bounds its projection.
    const float low[3] = {centre[0] - radius, centre[1] - radius, centre[2] - radius};
    const float high[3] = {centre[0] + radius, centre[1] + radius, centre[2] + radius};
    return blockScreenBox(projection, modelView, low, high, viewportWidth, viewportHeight, margin, box);
}

bool blockScreenBox(const float (&projection)[16], const float (&modelView)[16], const float (&low)[3],
                    const float (&high)[3], int viewportWidth, int viewportHeight, int margin, ScreenBox& box)
{
    const show::Mat4 toClip = matrixOf(projection) * matrixOf(modelView);
    float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
    // A block is convex: its corners bound its projection.
    for (int corner = 0; corner < 8; ++corner) {
        const float p[3] = {(corner & 1) ? high[0] : low[0], (corner & 2) ? high[1] : low[1],
                            (corner & 4) ? high[2] : low[2]};
        float clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = toClip.at(row, 0) * p[0] + toClip.at(row, 1) * p[1] + toClip.at(row, 2) * p[2] +
                        toClip.at(row, 3);
        if (!(clip[3] > 1e-4f))
            return false;
        const float x = (clip[0] / clip[3] + 1.0f) * 0.5f * viewportWidth;
        const float y = (clip[1] / clip[3] + 1.0f) * 0.5f * viewportHeight;
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
    const int x0 = std::clamp(static_cast<int>(std::floor(left)) - margin, 0, viewportWidth);
    const int x1 = std::clamp(static_cast<int>(std::ceil(right)) + margin, 0, viewportWidth);
    const int y0 = std::clamp(static_cast<int>(std::floor(bottom)) - margin, 0, viewportHeight);
    const int y1 = std::clamp(static_cast<int>(std::ceil(top)) + margin, 0, viewportHeight);
    box = {x0, y0, x1 - x0, y1 - y0};
    return true;
}
