// FluidSolver: the stable-fluids simulation behind the fluid scene's warp. A
// 66 x 66 periodic velocity field, stirred by a jet near the bottom centre
// whose push swings, advances one step per rendered frame: forces,
// back-traced advection, viscous decay and projection in the frequency
// domain. Each step also writes the 65 x 65 texture coordinates the warp grid
// redraws the screen copy with. Nothing here draws.
// Velocities are in grid widths (u) and heights (v) per step, row after row,
// row 0 at the top of the screen. The solver owns all it uses; after
// construction a step allocates nothing.
#pragma once

#include "scenes/fluid/FluidSpectrum.h"

#include <vector>

// One push on the fluid at a grid cell, in grid widths and heights per step.
struct FluidForce {
    int column = 0;
    int row = 0;
    float u = 0.0f;
    float v = 0.0f;
};

class FluidSolver {
public:
    static constexpr int n = 66; // columns
    static constexpr int m = 66; // rows
    static constexpr float dt = 1.0f;
    static constexpr float viscosity = 0.00025f;
    static constexpr int warpColumns = 64;
    static constexpr int warpRows = 64;

    FluidSolver();

    // One frame of the show: the jet's push for the force clock, which then
    // moves on by 0.02, and a step with it.
    void step();
    // One step with a single push: add it, advect, diffuse and project,
    // then rewrite the texture coordinates.
    void step(const FluidForce& force);

    float u(int column, int row) const { return fieldU[row * n + column]; }
    float v(int column, int row) const { return fieldV[row * n + column]; }
    void setVelocity(int column, int row, float u, float v);

    // (warpColumns + 1) x (warpRows + 1) pairs (s, t), row after row, in
    // texels of the 640 x 480 rectangle copy of the screen; the layout of
    // the warp grid's own table. Zero until the first step.
    const std::vector<float>& texCoords() const { return coords; }

private:
    FluidForce jet() const;
    void addForce(const FluidForce& force);
    void takeWorkFields();
    void computeTexCoords();

    double forceClock = 0.0;
    std::vector<float> fieldU;
    std::vector<float> fieldV;
    FluidSpectrum work;
    std::vector<float> coords;
};
