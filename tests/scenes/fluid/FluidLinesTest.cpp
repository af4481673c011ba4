#include "scenes/fluid/FluidLines.h"

#include "scenes/fluid/FluidSolver.h"

#include <gtest/gtest.h>

// Each column's run is its top vertex, 66 row vertices and its bottom vertex.
TEST(FluidLines, TheMovingCellsVertexLeavesItsPlaceAndUncolouredVerticesRepeatTheColourBefore)
{
    FluidSolver solver;
    solver.setVelocity(4, 7, 0.002f, -0.001f);
    FluidLines lines;
    lines.update(solver);
    const FluidLineVertex& moving = lines.vertices()[4 * 68 + 1 + 7];
    EXPECT_FLOAT_EQ(moving.x, 640.0f / 65 * 5 + 1.0f);
    EXPECT_FLOAT_EQ(moving.y, 480.0f / 65 * 8 - 0.5f);
    EXPECT_FLOAT_EQ(moving.blue, 1.125f);
    EXPECT_FLOAT_EQ(lines.vertices()[7 * 68 + 1 + 4].x, 640.0f / 65 * 8); // the transposed cell stays put
    EXPECT_FLOAT_EQ(lines.vertices()[0].alpha, 1.0f);       // the white the strip starts in
    EXPECT_FLOAT_EQ(lines.vertices()[5 * 68].alpha, 0.25f); // carried over from column 4's last vertex
}
