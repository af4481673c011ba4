#include "scenes/flowers/Flower.h"
#include "scenes/flowers/Petal.h"
#include "scenes/flowers/Vine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

TEST(FlowerTest, InnerRingsOpenBeforeOuterOnes)
{
    for (float opening = 0.0f; opening <= 1.0f; opening += 0.05f) {
        SCOPED_TRACE(opening);
        for (int ring = 0; ring + 1 < Flower::ringCount; ++ring) {
            const float a = Flower::ringOpening(ring, opening);
            EXPECT_GE(a, 0.0f);
            EXPECT_LE(a, 1.0f);
            EXPECT_GE(a, Flower::ringOpening(ring + 1, opening));
        }
    }
    // Closed, ring 0 is already a little open and the top ring shut; open,
    // every ring has opened some way.
    EXPECT_GT(Flower::ringOpening(0, 0.0f), 0.05f);
    EXPECT_EQ(Flower::ringOpening(49, 0.0f), 0.0f);
    EXPECT_GT(Flower::ringOpening(49, 1.0f), 0.3f);
    EXPECT_GT(Flower::ringOpening(0, 1.0f), Flower::ringOpening(0, 0.5f));
}

TEST(FlowerTest, AnOpenPetalLiesFlatAndFacesUp)
{
    PetalGeometry petal;
    petal.build(1.0f, 0.5f, 2.0f);
    for (int v = 0; v < PetalGeometry::vertexCount; ++v) {
        SCOPED_TRACE(v);
        EXPECT_NEAR(petal.positions[3 * v + 1], 2.0f, 1e-5);   // y: the lift
        EXPECT_NEAR(petal.normals[3 * v + 0], 0.0f, 1e-5);
        EXPECT_GE(petal.normals[3 * v + 1], 0.0f);
        EXPECT_FLOAT_EQ(petal.texCoords[3 * v + 2], (v / 2) / 60.0f);
    }
    // The root pair does not scale; the others spread by 1 / W.
    EXPECT_FLOAT_EQ(petal.positions[2], -0.5f);
    EXPECT_FLOAT_EQ(petal.positions[3 * 2 + 2], -1.0f);
    // Flat and open, the tip lies 4 x 3.89 / 30 x 29 / W out along x.
    EXPECT_NEAR(petal.positions[3 * 60], 4.0f * 3.89159f / 30 * 29 / 0.5f, 1e-3);
}

TEST(FlowerTest, TheStripRunsRootToTipSkippingPairsOnlyBeforeTheTip)
{
    const PetalGeometry petal;
    // Each step of the strip is one pair: its two edge vertices in turn.
    int pair = -1;
    for (int i = 0; i < PetalGeometry::indexCount; i += 2) {
        SCOPED_TRACE(i);
        ASSERT_EQ(petal.indices[i] % 2, 0);
        ASSERT_EQ(petal.indices[i + 1], petal.indices[i] + 1);
        const int next = petal.indices[i] / 2;
        if (pair < 0)
            EXPECT_EQ(next, 0);   // the root
        else
            EXPECT_EQ(next - pair, pair < PetalGeometry::tipStart ? 2 : 1);
        pair = next;
    }
    EXPECT_EQ(pair, Petal::segments);   // the tip
}

TEST(FlowerTest, AClosedPetalCurlsUpAndItsNormalsIgnoreTheSize)
{
    PetalGeometry small, large;
    small.build(0.0f, 1.0f, 0.0f);
    large.build(0.0f, 0.25f, 0.0f);
    // Curled: the tip is raised above the root.
    EXPECT_GT(small.positions[3 * 61 + 1], 5.0f);
    EXPECT_NEAR(large.positions[3 * 61 + 1], 4 * small.positions[3 * 61 + 1], 1e-3);
    for (size_t i = 0; i < small.normals.size(); ++i)
        EXPECT_FLOAT_EQ(small.normals[i], large.normals[i]);
    // Every normal stands on the strip: across it (z) the strip is flat.
    for (int k = 1; k < PetalGeometry::pairs; ++k) {
        const float* p = &small.positions[3 * 2 * k];
        const float* q = &small.positions[3 * 2 * (k - 1)];
        const float* n = &small.normals[3 * 2 * k];
        const float along[2] = {p[0] - q[0], p[1] - q[1]};
        const float len = std::hypot(along[0], along[1]) * std::hypot(n[0], n[1]);
        if (len > 0) {
            EXPECT_LT(std::fabs(along[0] * n[0] + along[1] * n[1]) / len, 0.2f) << k;
        }
    }
}

TEST(VineTest, ThePathRisesThenWandersOverTheSphere)
{
    std::srand(3);
    Vine vine;
    // The path starts on its helix round the axis and then wanders over the
    // sphere of radius 60.
    const show::Vec3 start = vine.path().position(0.0f);
    EXPECT_LT(std::hypot(start.x, start.z), 3.0f);
    EXPECT_LE(start.y, 24.0f + 1e-3f);
    const show::Vec3 far = vine.path().position(50.0f);
    EXPECT_NEAR(far.length(), 60.0f, 15.0f);
}

TEST(VineTest, SectionColoursFollowTheSide)
{
    const show::Vec3 c = Vine::sectionColour(show::Vec3(1.0f, 0.0f, -1.0f));
    EXPECT_FLOAT_EQ(c.x, 1.0f);
    EXPECT_FLOAT_EQ(c.y, 0.0f);
    EXPECT_FLOAT_EQ(c.z, 0.0f);
    const show::Vec3 zero = Vine::sectionColour(show::Vec3());
    EXPECT_FLOAT_EQ(zero.x, 0.5f);
    EXPECT_FLOAT_EQ(zero.z, 0.5f);
}
