// The warp grid behind the pull accent ("PullWarp"): a 64 x 64 grid of
// quads over the virtual screen whose texture coordinates are pulled
// towards the centre, so a copied screen drawn through it shrinks into the
// middle with the corners pulled furthest. The caller binds and enables the
// source texture (a virtual-screen-sized rectangle texture, addressed in
// texels).
#pragma once

#include "core/Scene.h"
#include "core/VirtualScreen.h"

#include <vector>

class WarpGrid : public Scene {
public:
    explicit WarpGrid(ResourceManager* resources);

    // Computes the warp for `time`, then draws the grid.
    int update(float time) override;
    virtual void computeWarp(float time);

    // Texture coordinates of grid point (column, row).
    float texS(int column, int row) const { return coords[(row * (columns + 1) + column) * 2]; }
    float texT(int column, int row) const { return coords[(row * (columns + 1) + column) * 2 + 1]; }

    int width = virtualScreenWidth;
    int height = virtualScreenHeight;
    int columns = 64;
    int rows = 64;
    std::vector<float> coords; // (columns + 1) x (rows + 1) pairs, row after row
    float strength = 8.0f;
    // Grid cells per drawn quad along each side: a smooth warp drawn in
    // larger quads through every `cellsPerQuad`-th point costs fewer pixel
    // passes at its quads' edges. 1 draws every cell.
    int cellsPerQuad = 1;

protected:
    // Draws `corners` (s, t, x, y for each corner, four corners a quad) as
    // one array of quads on the current texture.
    static void drawQuadCorners(const std::vector<float>& corners);

private:
    void draw() const;

    mutable std::vector<float> quads;   // the drawn corners, kept between frames
};
