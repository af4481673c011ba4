// SubdividedSphere: the funk sphere's mesh before deformation. An octahedron
// is split `level` times into four triangles per triangle, the edge midpoints
// pushed out onto the unit sphere; every split gives each triangle six
// vertices of its own, so the same point then appears several times. Merging
// exactly equal points afterwards lets neighbouring triangles share their
// corners, which is what makes the summed normals smooth across edges.
//
// CPU geometry only, no GL; the mesh owns its arrays.
#pragma once

#include "core/ShowMath.h"

#include <cstdint>
#include <vector>

struct SphereMesh {
    std::vector<show::Vec3> vertices;
    std::vector<uint32_t> indices;   // three per triangle
    int triangleCount() const { return static_cast<int>(indices.size() / 3); }
};

// The unit octahedron, split `level` times (8 x 4^level triangles, six
// vertices of its own per triangle once level > 0).
SphereMesh subdividedOctahedron(int level);

// Keeps the first of every run of exactly equal vertices, in order, and
// points each index at the kept copy. The result is the one of comparing
// every vertex with all kept ones, in linear time.
void mergeEqualVertices(SphereMesh& mesh);
