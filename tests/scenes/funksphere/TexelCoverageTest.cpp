#include "scenes/funksphere/TexelCoverage.h"

#include <gtest/gtest.h>

TEST(TexelCoverageTest, ALookupIsLitWhenItsFilterCanReachALitTexel)
{
    // A 16 x 8 black picture with two dim blue texels: (10, 3) inside and
    // (15, 7) in the last corner. Texel 10 spans s 10 to 11; a linear lookup
    // reaches it from s 9.5 up to (not including) s 11.5, and the same on t.
    std::vector<uint8_t> rgba(16 * 8 * 4, 0);
    rgba[(3 * 16 + 10) * 4 + 2] = 1;
    rgba[(7 * 16 + 15) * 4 + 2] = 1;
    const TexelCoverage coverage(16, 8, rgba);
    const struct { float s0, t0, s1, t1; bool lit; } rows[] = {
        {9.51f, 3.5f, 9.51f, 3.5f, true},       // its left neighbour's share
        {11.49f, 3.5f, 11.49f, 3.5f, true},     // its right neighbour's share
        {10.5f, 2.51f, 10.5f, 2.51f, true},     // from the row above
        {10.5f, 4.49f, 10.5f, 4.49f, true},     // from the row below
        {2.0f, 0.0f, 20.0f, 0.5f, false},       // a strip above both
        {0.0f, 3.5f, 6.0f, 3.5f, false},        // left of it on its row
        {12.6f, 0.0f, 13.4f, 8.0f, false},      // between the two
        {40.0f, 30.0f, 90.0f, 60.0f, true},     // past the corner: the corner texel
        {-90.0f, 30.0f, -40.0f, 60.0f, false},  // past the other side: a black edge
        {14.0f, 5.0f, 9.6f, 1.0f, true},        // corners given reversed on s
        {10.5f, 6.0f, 10.5f, 2.6f, true},       // and on t
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.s0 << ", " << row.t0 << " to " << row.s1 << ", " << row.t1);
        EXPECT_EQ(coverage.mayBeLit(row.s0, row.t0, row.s1, row.t1), row.lit);
    }
    // Without a picture nothing is known to be black.
    EXPECT_TRUE(TexelCoverage().mayBeLit(0.0f, 0.0f, 1.0f, 1.0f));
}
