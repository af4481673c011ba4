// FluidWarp: the fluid scene's warp grid. Each update runs one step of the
// fluid (one per rendered frame, whatever the frame time) and redraws the
// bound screen copy through the 64 x 64 grid whose texture coordinates the
// fluid has pushed around. It also draws the velocity field as faint
// coloured lines.
//
// The caller binds and enables the 640 x 480 rectangle copy before update()
// and sets colour and blending; the warp owns its solver and line data.
#pragma once

#include "effects/WarpGrid.h"
#include "scenes/fluid/FluidLines.h"
#include "scenes/fluid/FluidSolver.h"

class FluidWarp : public WarpGrid {
public:
    explicit FluidWarp(ResourceManager* resources);

    // One solver step; the time plays no part.
    void computeWarp(float time) override;
    // The velocity lines over the y-down 640 x 480 box, at line width 2;
    // nothing when `drawLines` is off.
    void drawVelocityLines();

    FluidSolver solver;
    bool drawLines = true;

private:
    FluidLines lines;
};
