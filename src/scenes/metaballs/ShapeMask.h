// ShapeMask: the solid the metaball cloud morphs into, a 32 x 32 x 32 byte
// volume extruded from a 32 x 32 picture. Dark pixels (red below 100) become
// a slab through the middle depths; two passes of neighbour averaging soften
// its faces so the morph swells into the shape instead of snapping to voxels.
//
// Built once from decoded RGB bytes; the picture stays the caller's and is
// not kept. Texel (x, y, z) sits at x + 32 y + 1024 z, the 3-D texture's order,
// with x the picture's column and y its row (first row first).
#pragma once

#include <vector>

struct ShapeMask {
    static constexpr int size = 32;
    static constexpr int texelCount = size * size * size;

    // A picture of another size is read at the nearest pixel of each of the
    // 32 x 32 cells; no picture (null or empty) gives an empty mask.
    static ShapeMask fromPicture(const unsigned char* rgb, int width, int height);

    unsigned char at(int x, int y, int z) const { return texels[x + size * (y + size * z)]; }

    std::vector<unsigned char> texels = std::vector<unsigned char>(texelCount, 0);
};
