#include "scenes/metaballs/VolumeSlices.h"

#include <algorithm>
#include <cassert>
#include <cmath>

using show::Vec3;

namespace {

constexpr int cornerCount = 8;
constexpr float half = 0.5f;

Vec3 corner(int i)
{
    return {i & 1 ? half : -half, i & 2 ? half : -half, i & 4 ? half : -half};
}

// Two unit vectors that make a right-handed frame with the axis, so angles
// measured from u towards v turn counter-clockwise seen from the axis side.
void planeFrame(const Vec3& axis, Vec3& u, Vec3& v)
{
    const Vec3 n = axis.normalized();
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    // Crossing with the axis the normal leans on least keeps u well defined.
    const Vec3 helper = ax <= ay && ax <= az ? Vec3(1, 0, 0) : ay <= az ? Vec3(0, 1, 0) : Vec3(0, 0, 1);
    u = helper.cross(n).normalized();
    v = n.cross(u);
}

// The points where the plane meets the cube's edges: the corners lying on it
// and the crossings strictly inside the edges whose ends lie on opposite
// sides. Counting a corner once rather than once per edge means no point
// repeats, so the cross-section's vertices come out exactly once each.
int crossings(const Vec3& axis, float distance, Vec3 (&points)[12])
{
    float side[cornerCount];
    for (int i = 0; i < cornerCount; ++i)
        side[i] = axis.dot(corner(i)) - distance;
    int count = 0;
    for (int i = 0; i < cornerCount; ++i) {
        if (side[i] == 0.0f)
            points[count++] = corner(i);
        for (int bit = 1; bit < cornerCount; bit <<= 1) {
            const int j = i | bit;
            if (j == i || !((side[i] < 0.0f && side[j] > 0.0f) || (side[i] > 0.0f && side[j] < 0.0f)))
                continue;
            const float t = side[i] / (side[i] - side[j]);
            points[count++] = corner(i) + (corner(j) - corner(i)) * t;
        }
    }
    return count;
}

} // namespace

SlicePolygon sliceCube(const Vec3& axis, float distance)
{
    SlicePolygon polygon;
    if (axis.dot(axis) == 0.0f)
        return polygon;
    Vec3 points[12];
    const int count = crossings(axis, distance, points);
    if (count < 3)
        return polygon;
    assert(count <= 6 && "a plane meets a cube in at most six edges");

    Vec3 centre;
    for (int i = 0; i < count; ++i)
        centre = centre + points[i];
    centre = centre * (1.0f / count);
    Vec3 u, v;
    planeFrame(axis, u, v);
    // The cross-section is convex, so ordering by angle around its centroid
    // walks its boundary.
    float angles[6];
    int order[6];
    for (int i = 0; i < count; ++i) {
        const Vec3 d = points[i] - centre;
        angles[i] = std::atan2(d.dot(v), d.dot(u));
        order[i] = i;
    }
    std::sort(order, order + count, [&](int a, int b) { return angles[a] < angles[b]; });

    const Vec3 toTexture(half, half, half);
    for (int i = 0; i < count; ++i)
        polygon.vertices[i] = {points[order[i]], points[order[i]] + toTexture};
    polygon.count = count;
    return polygon;
}

VolumeSlices VolumeSlices::facing(const show::Mat4& modelView)
{
    // Eye-space depth relative to the cube's centre is the dot product with
    // the matrix's third row; a corner's is largest where every term's sign
    // agrees.
    const Vec3 depthAxis(modelView.at(2, 0), modelView.at(2, 1), modelView.at(2, 2));
    const float reach = half * (std::fabs(depthAxis.x) + std::fabs(depthAxis.y) + std::fabs(depthAxis.z));
    VolumeSlices stack;
    for (int i = 0; i < count; ++i)
        stack.slices[i] = sliceCube(depthAxis, show::remap(static_cast<float>(i), 0.0f, count, reach, -reach));
    return stack;
}
