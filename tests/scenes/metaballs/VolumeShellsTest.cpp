#include "scenes/metaballs/VolumeShells.h"

#include <gtest/gtest.h>

TEST(VolumeShells, FacesRunAcrossTheTextureAtTheirShellsDepth)
{
    const std::vector<ShellVertex> quads = VolumeShells::quads();
    ASSERT_EQ(quads.size(), 4u * VolumeShells::quadCount);
    const float lo = 0.75f - 29 / 119.0f, hi = 0.75f + 29 / 119.0f;
    // The innermost shell's z = -1 face, then faces of the outermost shell.
    const struct { int index; float p[3], t[3]; } rows[] = {
        {0, {-1, -1, -1}, {0, 0, 0.75f}}, {2, {1, 1, -1}, {1, 1, 0.75f}}, {701, {30, -30, 30}, {1, 0, hi}},
        {706, {-30, 30, 30}, {lo, 1, 1}}, {716, {-30, 30, -30}, {0, hi, 0}}};
    const auto is = [](const show::Vec3& v, const float (&e)[3]) { return v.x == e[0] && v.y == e[1] && v.z == e[2]; };
    for (const auto& row : rows) {
        EXPECT_TRUE(is(quads[row.index].position, row.p)) << row.index;
        EXPECT_TRUE(is(quads[row.index].texCoord, row.t)) << row.index;
    }
}
