// BezierLattice: the 4 x 4 x 4 cubic Bezier volume that deforms the funk
// sphere. Its 64 control points rest evenly spaced over the cube [-1, 1]^3,
// where the volume maps every lattice coordinate onto the matching point of
// that cube; each frame every point is scaled away from or towards the
// centre by its own pulse, so the sphere bulges and pinches.
//
// Point 16 i + 4 j + k sits at x from k, y from j, z from i. CPU arithmetic
// only; the lattice owns its points.
#pragma once

#include "core/ShowMath.h"

#include <array>
#include <cstdint>
#include <vector>

class BezierLattice {
public:
    static constexpr int pointCount = 64;

    BezierLattice();

    // The factor point n is scaled by at time t: 12 e f with e and f two
    // shifted waves, each held at zero or above, so a point may fall into the
    // centre but never through it to the other side.
    static float scaleFactor(int n, float t);
    // The working points for time t: the rest points, scaled.
    void pulse(float t);
    // The point of the volume at lattice coordinates (u, v, w) in 0 .. 1.
    show::Vec3 evaluate(float u, float v, float w) const;

    const std::array<show::Vec3, pointCount>& points() const { return working; }
    const std::array<show::Vec3, pointCount>& restPoints() const { return rest; }

private:
    std::array<show::Vec3, pointCount> rest;
    std::array<show::Vec3, pointCount> working;
};

// Positions of `lattice` coordinates through the volume, then per vertex the
// unnormalised sum of the unit normals of the triangles around it; a
// triangle (P0, P1, P2) faces along (P2 - P1) x (P0 - P1).
void deformMesh(const BezierLattice& volume, const std::vector<show::Vec3>& lattice,
                const std::vector<uint32_t>& indices, std::vector<show::Vec3>& positions,
                std::vector<show::Vec3>& normals);
