#include "scenes/funksphere/BezierLattice.h"

#include <algorithm>
#include <cmath>

using show::remap;
using show::Vec3;

namespace {

// The four cubic Bernstein weights at s.
std::array<float, 4> bernstein(float s)
{
    const float r = 1.0f - s;
    return {r * r * r, 3.0f * s * r * r, 3.0f * s * s * r, s * s * s};
}

} // namespace

BezierLattice::BezierLattice()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                rest[16 * i + 4 * j + k] = Vec3(remap(static_cast<float>(k), 0, 3, -1, 1),
                                               remap(static_cast<float>(j), 0, 3, -1, 1),
                                               remap(static_cast<float>(i), 0, 3, -1, 1));
    working = rest;
}

float BezierLattice::scaleFactor(int n, float t)
{
    const float d = remap(static_cast<float>(n), 0, 64, 3.14159f, 402.12354f);
    const float e = std::max(std::sin(d * 0.14285715f + t) + 1.0f, 0.0f);
    const float f = std::max(std::cos(d * 0.05882353f + t) + 1.0f, 0.0f);
    return 12.0f * e * f;
}

void BezierLattice::pulse(float t)
{
    for (int n = 0; n < pointCount; ++n)
        working[n] = rest[n] * scaleFactor(n, t);
}

Vec3 BezierLattice::evaluate(float u, float v, float w) const
{
    const auto bu = bernstein(u), bv = bernstein(v), bw = bernstein(w);
    Vec3 sum;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const float weight = bw[i] * bv[j];
            const Vec3* row = &working[16 * i + 4 * j];
            for (int k = 0; k < 4; ++k)
                sum = sum + row[k] * (weight * bu[k]);
        }
    return sum;
}

void deformMesh(const BezierLattice& volume, const std::vector<Vec3>& lattice, const std::vector<uint32_t>& indices,
                std::vector<Vec3>& positions, std::vector<Vec3>& normals)
{
    positions.resize(lattice.size());
    normals.assign(lattice.size(), Vec3());
    for (size_t n = 0; n < lattice.size(); ++n)
        positions[n] = volume.evaluate(lattice[n].x, lattice[n].y, lattice[n].z);
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        const Vec3& p0 = positions[indices[t]];
        const Vec3& p1 = positions[indices[t + 1]];
        const Vec3& p2 = positions[indices[t + 2]];
        const Vec3 n = (p2 - p1).cross(p0 - p1).normalized();
        for (int c = 0; c < 3; ++c)
            normals[indices[t + c]] = normals[indices[t + c]] + n;
    }
}
