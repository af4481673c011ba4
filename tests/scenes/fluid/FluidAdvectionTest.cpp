#include "scenes/fluid/FluidAdvection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A small grid that is not square, so widths and heights cannot stand in for
// each other.
constexpr int width = 5;
constexpr int height = 4;

struct Grid {
    float u[width * height] = {}, v[width * height] = {};
    float outU[width * height] = {}, outV[width * height] = {};

    // A velocity that moves (cellsX, cellsY) cells per step.
    void move(int c, int r, float cellsX, float cellsY)
    {
        u[r * width + c] = cellsX / width;
        v[r * width + c] = cellsY / height;
    }
    void advect() { advectWrapped(u, v, width, height, 1.0f, outU, outV, width); }
};

} // namespace

TEST(FluidAdvection, BackTracesThatLeaveTheGridWrapOnBothAxes)
{
    struct Row {
        const char* name;
        int c, r;
        float cellsX, cellsY;
        int fromC, fromR;
        float weight; // of the cell read from
    };
    const Row rows[] = {
        {"off the left edge", 0, 1, 2, 0, 3, 1, 1},
        {"off the right edge", 4, 2, -1, 0, 0, 2, 1},
        {"off the top", 2, 0, 0, 1, 2, 3, 1},
        {"off the bottom", 1, 3, 0, -3, 1, 2, 1},
        {"off a corner", 0, 0, 1, 1, 4, 3, 1},
        {"more than a whole grid away", 2, 1, 12, -9, 0, 2, 1},
        {"halfway between two cells off the left edge", 0, 1, 1.5f, 0, 3, 1, 0.5f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Grid grid;
        grid.move(row.c, row.r, row.cellsX, row.cellsY);
        grid.u[row.fromR * width + row.fromC] = 0.3f;
        grid.v[row.fromR * width + row.fromC] = -0.7f;
        grid.advect();
        EXPECT_NEAR(grid.outU[row.r * width + row.c], row.weight * 0.3f, 1e-6);
        EXPECT_NEAR(grid.outV[row.r * width + row.c], row.weight * -0.7f, 1e-6);
    }
}

TEST(FluidAdvection, RunawayVelocitiesStillReadInsideTheGrid)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (float speed : {1e30f, -1e30f, 3e9f, inf, -inf, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(speed);
        Grid grid;
        grid.u[1 * width + 2] = speed;
        grid.v[2 * width + 3] = speed;
        grid.advect();
        EXPECT_TRUE(std::isfinite(grid.outU[1 * width + 2]));
        EXPECT_TRUE(std::isfinite(grid.outV[2 * width + 3]));
    }
}
