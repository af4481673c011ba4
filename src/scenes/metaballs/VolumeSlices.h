// VolumeSlices: the geometry that shows a 3-D texture as a stack of planes
// facing the camera. Each plane is clipped to the cube [-0.5, 0.5]^3 as an
// exact convex polygon whose vertices carry 3-D texture coordinates, the
// cube spanning the texture once (coordinate = position + 0.5).
//
// Pure geometry, no GL: the caller draws each polygon as a triangle fan in
// the order given, under the model-view the stack was built for.
#pragma once

#include "core/ShowMath.h"

#include <array>

struct SliceVertex {
    show::Vec3 position;
    show::Vec3 texCoord;
};

// 3 to 6 vertices, counter-clockwise seen from the side the plane's axis
// points to; none when the plane misses the cube or only touches a corner
// or an edge.
struct SlicePolygon {
    std::array<SliceVertex, 6> vertices;
    int count = 0;
};

// The plane of the points p with dot(axis, p) = distance, clipped to the
// cube. The axis need not be of unit length; a zero axis gives no polygon.
SlicePolygon sliceCube(const show::Vec3& axis, float distance);

struct VolumeSlices {
    static constexpr int count = 32; // one plane per texel across the texture

    // The planes perpendicular to the eye's viewing direction under
    // `modelView`, spread evenly through the cube's whole depth from its
    // centre's point of view: with m the largest depth of a corner relative
    // to the centre, plane i lies at depth m - 2m i / 32, nearest first.
    static VolumeSlices facing(const show::Mat4& modelView);

    std::array<SlicePolygon, count> slices;
};
