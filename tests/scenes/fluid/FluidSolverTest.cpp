#include "scenes/fluid/FluidSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <utility>

namespace {

constexpr int n = FluidSolver::n;
constexpr int m = FluidSolver::m;
using Field = std::function<std::pair<float, float>(int column, int row)>;

void fill(FluidSolver& solver, const Field& field)
{
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < n; ++c)
            solver.setVelocity(c, r, field(c, r).first, field(c, r).second);
}

double energy(const FluidSolver& solver)
{
    double sum = 0.0;
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < n; ++c)
            sum += std::pow(solver.u(c, r), 2) + std::pow(solver.v(c, r), 2);
    return sum;
}

std::pair<int, int> fastestCell(const FluidSolver& solver)
{
    std::pair<int, int> best{0, 0};
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < n; ++c)
            if (std::hypot(solver.u(c, r), solver.v(c, r)) > std::hypot(solver.u(best.first, best.second), solver.v(best.first, best.second)))
                best = {c, r};
    return best;
}

} // namespace

// Without a push, a step keeps flow along the wave crests (less the viscous
// decay exp(-|k|^2 viscosity)) and removes flow across them, the divergent
// part; the mean flow, the zero frequency, passes untouched.
TEST(FluidSolver, StepKeepsDivergenceFreeFlowAndTheMeanAndRemovesTheRest)
{
    const float a = 1e-3f;
    const auto wave = [](int kx, int ky, int c, int r) { return float(std::cos(2 * M_PI * (kx * c / double(n) + ky * r / double(m)))); };
    struct Row {
        const char* name;
        Field field;
        float kept;
    };
    const Row rows[] = {
        {"uniform flow", [](int, int) { return std::make_pair(0.004f, -0.003f); }, 1.0f},
        // Short waves across the flow, which the advection carries exactly,
        // so that the decay stands well above the tolerance and tells |k|^2
        // from |k|: 0.965 here against 0.997.
        {"shear along u", [&](int c, int r) { return std::make_pair(a * wave(0, 12, c, r), 0.0f); }, std::exp(-144 * FluidSolver::viscosity)},
        {"shear along v", [&](int c, int r) { return std::make_pair(0.0f, a * wave(12, 0, c, r)); }, std::exp(-144 * FluidSolver::viscosity)},
        {"diagonal shear", [&](int c, int r) { return std::make_pair(a * wave(1, 1, c, r), -a * wave(1, 1, c, r)); }, std::exp(-2 * FluidSolver::viscosity)},
        {"compression across", [&](int c, int r) { return std::make_pair(a * wave(1, 0, c, r), 0.0f); }, 0.0f},
        {"compression along (2, 1)", [&](int c, int r) { return std::make_pair(a * wave(2, 1, c, r), a / 2 * wave(2, 1, c, r)); }, 0.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FluidSolver solver;
        fill(solver, row.field);
        solver.step(FluidForce{});
        for (int r = 0; r < m; ++r) {
            for (int c = 0; c < n; ++c) {
                ASSERT_NEAR(solver.u(c, r), row.kept * row.field(c, r).first, 2e-3 * a) << c << ", " << r;
                ASSERT_NEAR(solver.v(c, r), row.kept * row.field(c, r).second, 2e-3 * a) << c << ", " << r;
            }
        }
    }
}

TEST(FluidSolver, FlowDiesAwayWithoutForce)
{
    FluidSolver solver;
    std::mt19937 generator(3);
    std::uniform_real_distribution<float> noise(-0.01f, 0.01f);
    fill(solver, [&](int, int) { return std::make_pair(noise(generator), noise(generator)); });
    const double start = energy(solver);
    double last = start;
    for (int i = 0; i < 30; ++i) {
        solver.step(FluidForce{});
        ASSERT_LT(energy(solver), last) << "step " << i;
        last = energy(solver);
    }
    EXPECT_LT(last, 0.05 * start);
}

// A push of a whole grid per step (the jet's first is (1, 0)) traces back onto
// its own cell, so it stays there through the advection; the projection then
// spreads it around, weaker.
TEST(FluidSolver, PushesLandOnTheirCellsAndGridPointsFollowTheirVelocity)
{
    FluidSolver solver;
    solver.step();
    ASSERT_EQ(fastestCell(solver), std::make_pair(33, 61));
    EXPECT_GT(solver.u(33, 61), 10 * std::fabs(solver.v(33, 61)));
    FluidSolver pushedUp;
    pushedUp.step(FluidForce{10, 5, 0, -1});
    ASSERT_EQ(fastestCell(pushedUp), std::make_pair(10, 5));
    EXPECT_LT(pushedUp.v(10, 5), -10 * std::fabs(pushedUp.u(10, 5)));
    for (int i = 0; i <= 64; ++i) {
        for (int j = 0; j <= 64; ++j) {
            const float* st = &solver.texCoords()[(i * 65 + j) * 2];
            ASSERT_NEAR(st[0] - 10.0f * j, 448.0f * solver.u(j, i), 1e-3) << j << ", " << i;
            ASSERT_NEAR(st[1] - (480.0f - 7.5f * i), 336.0f * solver.v(j, i), 1e-3) << j << ", " << i;
        }
    }
}

// The jet swings slowly: frame k pushes at (33, 61) along
// (cos 0.04k, sin 0.06k), so over the first 40 frames it turns from
// sideways to nearly straight along v, and back only after many seconds.
TEST(FluidSolver, TheJetSwingsByItsClockOfAFiftiethAFrame)
{
    FluidSolver shown;
    FluidSolver pushed;
    for (int frame = 0; frame < 40; ++frame) {
        shown.step();
        const double clock = 0.02 * frame;
        pushed.step(FluidForce{33, 61, float(std::cos(2.0 * clock)), float(std::sin(3.0 * clock))});
    }
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < n; ++c) {
            ASSERT_NEAR(shown.u(c, r), pushed.u(c, r), 1e-5f) << c << ", " << r;
            ASSERT_NEAR(shown.v(c, r), pushed.v(c, r), 1e-5f) << c << ", " << r;
        }
}
