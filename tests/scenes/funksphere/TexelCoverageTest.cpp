#include "scenes/funksphere/TexelCoverage.h"

#include <gtest/gtest.h>

namespace {

// A 16 x 8 black picture with the given texels lit (a dim blue is lit too).
TexelCoverage picture(std::initializer_list<std::pair<int, int>> lit)
{
    std::vector<uint8_t> rgba(16 * 8 * 4, 0);
    for (auto [x, y] : lit)
        rgba[(y * 16 + x) * 4 + 2] = 1;
    return TexelCoverage(16, 8, rgba);
}

} // namespace

TEST(TexelCoverageTest, ALookupIsLitWhenItsFilterCanReachALitTexel)
{
    const TexelCoverage coverage = picture({{10, 3}});
    // Texel 10 spans s 10 to 11; a linear lookup reaches it from s 9.5 up to
    // (not including) s 11.5, and the same on t round row 3.
    const struct { float s0, t0, s1, t1; bool lit; } rows[] = {
        {9.51f, 3.5f, 9.51f, 3.5f, true},     // its left neighbour's share
        {11.49f, 3.5f, 11.49f, 3.5f, true},   // its right neighbour's share
        {10.5f, 2.51f, 10.5f, 2.51f, true},   // from the row above
        {10.5f, 4.49f, 10.5f, 4.49f, true},   // from the row below
        {2.0f, 0.0f, 20.0f, 0.5f, false},     // a strip above it, past the right edge
        {0.0f, 3.5f, 6.0f, 3.5f, false},      // left of it on its row
        {14.5f, 0.0f, 30.0f, 8.0f, false},    // right of it, down past the bottom
        {12.0f, 9.0f, 6.0f, 1.0f, true},      // a box given corner to corner reversed
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.s0 << ", " << row.t0 << " to " << row.s1 << ", " << row.t1);
        EXPECT_EQ(coverage.mayBeLit(row.s0, row.t0, row.s1, row.t1), row.lit);
    }
}

TEST(TexelCoverageTest, LookupsPastTheEdgeReadTheEdgeTexels)
{
    const TexelCoverage corner = picture({{15, 7}});
    EXPECT_TRUE(corner.mayBeLit(40.0f, 30.0f, 90.0f, 60.0f));
    EXPECT_FALSE(corner.mayBeLit(-90.0f, 30.0f, -40.0f, 60.0f));
    const TexelCoverage origin = picture({{0, 0}});
    EXPECT_TRUE(origin.mayBeLit(-90.0f, -60.0f, -40.0f, -30.0f));
    EXPECT_FALSE(origin.mayBeLit(-90.0f, 30.0f, -40.0f, 60.0f));
}

TEST(TexelCoverageTest, OnlyLitTexelsCountAndNoPictureCountsAsLit)
{
    EXPECT_TRUE(TexelCoverage().mayBeLit(0.0f, 0.0f, 1.0f, 1.0f));
    // Two lit texels far apart: the box round both is not lit between them.
    const TexelCoverage apart = picture({{1, 1}, {14, 6}});
    EXPECT_FALSE(apart.mayBeLit(5.0f, 0.0f, 10.0f, 8.0f));
    EXPECT_TRUE(apart.mayBeLit(5.0f, 0.0f, 13.0f, 8.0f));
}
