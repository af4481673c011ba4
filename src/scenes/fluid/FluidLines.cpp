#include "scenes/fluid/FluidLines.h"

#include "scenes/fluid/FluidSolver.h"

#include <cmath>

namespace {

// 66 grid points spread over the screen's 65 gaps.
constexpr float spacingX = 640.0f / 65.0f;
constexpr float spacingY = 480.0f / 65.0f;

// A vertex at (x, y) in the colour of the one before it.
FluidLineVertex sameColour(const FluidLineVertex& before, float x, float y)
{
    return {x, y, before.red, before.green, before.blue, before.alpha};
}

} // namespace

FluidLines::FluidLines() : strip(FluidSolver::n * (FluidSolver::m + 2))
{
}

void FluidLines::update(const FluidSolver& solver)
{
    FluidLineVertex* out = strip.data();
    FluidLineVertex previous{0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f}; // the white the lines are drawn in
    for (int i = 0; i < FluidSolver::n; ++i) {
        *out++ = sameColour(previous, spacingX * i, 0.0f);
        for (int j = 0; j < FluidSolver::m; ++j) {
            const float a = solver.u(i, j);
            const float b = solver.v(i, j);
            *out++ = {500.0f * a + spacingX * (i + 1), spacingY * (j + 1) + 500.0f * b,
                      std::fabs(1000.0f * a), 0.125f, std::fabs(1000.0f * b) + 0.125f, 0.25f};
        }
        previous = out[-1];
        *out++ = sameColour(previous, spacingX * i, 480.0f);
    }
}
