#include "scenes/fluid/FluidSolver.h"

#include "scenes/fluid/FluidAdvection.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

constexpr double screenWidth = 640.0;
constexpr double screenHeight = 480.0;
// How far, in texels, a velocity of one grid width (height) per step moves
// what a grid point shows: 0.7 of the screen, as single-precision 0.7 gives it.
constexpr double reachS = 447.99999237060547;
constexpr double reachT = 335.9999942779541;

} // namespace

FluidSolver::FluidSolver()
    : fieldU(n * m, 0.0f), fieldV(n * m, 0.0f), work(n, m, dt, viscosity),
      coords((warpColumns + 1) * (warpRows + 1) * 2, 0.0f)
{
}

void FluidSolver::step()
{
    step(jet());
    forceClock += 0.02;
}

void FluidSolver::step(const FluidForce& force)
{
    addForce(force);
    advectWrapped(fieldU.data(), fieldV.data(), n, m, dt, work.u(), work.v(), work.rowLength());
    work.toFrequencies();
    work.diffuseAndProject();
    work.toPositions();
    takeWorkFields();
    computeTexCoords();
}

void FluidSolver::setVelocity(int column, int row, float u, float v)
{
    assert(column >= 0 && column < n && row >= 0 && row < m && "cell outside the fluid grid");
    fieldU[row * n + column] = u;
    fieldV[row * n + column] = v;
}

// Near the bottom centre. Across (cos 2T) and down (sin 3T) turn at different
// rates, so over time the push sweeps through every direction.
FluidForce FluidSolver::jet() const
{
    return {n / 2, m - 5, static_cast<float>(std::cos(2.0 * forceClock)),
            static_cast<float>(std::sin(3.0 * forceClock))};
}

// The push goes straight onto the velocity the advection reads: the same sums
// as a zeroed force field scaled by dt and added to it, without the passes.
void FluidSolver::addForce(const FluidForce& force)
{
    assert(force.column >= 0 && force.column < n && force.row >= 0 && force.row < m &&
           "push outside the fluid grid");
    fieldU[force.row * n + force.column] += dt * force.u;
    fieldV[force.row * n + force.column] += dt * force.v;
}

// The transformed-back work fields, already normalised, without their padding.
void FluidSolver::takeWorkFields()
{
    for (int r = 0; r < m; ++r) {
        std::copy_n(work.u() + r * work.rowLength(), n, &fieldU[r * n]);
        std::copy_n(work.v() + r * work.rowLength(), n, &fieldV[r * n]);
    }
}

// Grid point (column j, row i) shows the texel under it moved by its own
// velocity; the copy's rows count up from the bottom, the grid's from the top.
void FluidSolver::computeTexCoords()
{
    for (int i = 0; i <= warpRows; ++i) {
        for (int j = 0; j <= warpColumns; ++j) {
            float* pair = &coords[(i * (warpColumns + 1) + j) * 2];
            pair[0] = static_cast<float>(screenWidth * j / warpColumns + reachS * fieldU[i * n + j]);
            pair[1] = static_cast<float>(screenHeight - screenHeight * i / warpRows + reachT * fieldV[i * n + j]);
        }
    }
}
