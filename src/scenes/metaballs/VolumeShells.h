// VolumeShells: the nested cubes that give the metaball cloud its soft glow.
// Thirty cubes around the origin, edges 2 to 60, each face a quad textured
// from the volume: across the face the texture runs 0 to 1, and along the
// face's normal every shell samples one depth, nearer the texture's middle
// for the inner shells and spreading out for the outer ones.
//
// Pure geometry, no GL: the caller records the quads once (a display list)
// and draws them with the volume texture bound.
#pragma once

#include "core/ShowMath.h"

#include <vector>

struct ShellVertex {
    show::Vec3 position;
    show::Vec3 texCoord;
};

struct VolumeShells {
    static constexpr int count = 30;
    static constexpr int quadCount = count * 6;

    // Four vertices per quad, shell by shell from the innermost; each shell's
    // faces in the order -z, +z, -x, +x, -y, +y.
    static std::vector<ShellVertex> quads();
};
