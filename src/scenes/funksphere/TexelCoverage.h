// TexelCoverage: where a picture is not black, kept as a summed-area table,
// so asking whether a linearly filtered lookup anywhere in a box of texel
// coordinates can read anything but black costs four reads. The credits
// overlay asks it for every grid cell and leaves out the cells that would
// add nothing under its additive blending.
//
// A value type; it knows nothing of GL. An empty coverage (default built)
// knows no picture and answers that anything may be lit.
#pragma once

#include <cstdint>
#include <vector>

class TexelCoverage {
public:
    TexelCoverage() = default;
    // rgba: width x height texels of four bytes, row after row; a texel is
    // lit when its red, green or blue is not zero.
    TexelCoverage(int width, int height, const std::vector<uint8_t>& rgba);

    bool empty() const { return width == 0 || height == 0; }
    // Whether a linear lookup at some texel coordinate (s, t) with s in
    // [s0, s1] and t in [t0, t1] can read a lit texel; coordinates past the
    // picture read its edge, as clamping to the edge does.
    bool mayBeLit(float s0, float t0, float s1, float t1) const;

private:
    void growLitBox(int x, int y);
    int litIn(int firstColumn, int firstRow, int lastColumn, int lastRow) const;

    int width = 0;
    int height = 0;
    // The box round every lit texel, which answers most questions alone.
    int litLeft = 0, litTop = 0, litRight = -1, litBottom = -1;
    std::vector<int> sums;   // (width + 1) x (height + 1): lit texels above and left of each corner
};
