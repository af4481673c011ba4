#include "scenes/aflowers/PetalFlower.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cstdlib>

TEST(PetalFlower, RingParametersRunFromTheFirstRingToTheLast)
{
    std::srand(1);
    PetalFlower flower(nullptr, 15, 5);
    ASSERT_EQ(flower.petals.size(), 75u);
    const PetalFan& first = flower.petals[0];
    const PetalFan& lastRing = flower.petals[14 * 5 + 3];
    EXPECT_FLOAT_EQ(first.openingMin, 0.3f);
    EXPECT_FLOAT_EQ(first.openingMax, 1.770795f);
    EXPECT_FLOAT_EQ(first.scale, 20.0f);
    EXPECT_FLOAT_EQ(first.span, 1.5707951f);
    EXPECT_NEAR(lastRing.openingMin, 0.2f + 0.1f / 15, 1e-6);
    EXPECT_NEAR(lastRing.openingMax, 1.770795f - 14.0f / 15, 1e-6);
    EXPECT_NEAR(lastRing.scale, 20 - 19.5f * 14 / 15, 1e-5);
    EXPECT_NEAR(lastRing.startAngle, 6.28318f * 3 / 5, 1e-6);
    EXPECT_NEAR(lastRing.phase, 14 * 0.39269876f, 1e-5);
}

TEST(PetalFlower, DrawsTimeOffsetThenRotationOffset)
{
    std::srand(1);
    const int a = std::rand() % 1000, b = std::rand() % 1000;
    std::srand(1);
    PetalFlower flower(nullptr, 2, 5);
    EXPECT_FLOAT_EQ(flower.timeOffset, a * 0.5f / 1000);
    EXPECT_FLOAT_EQ(flower.rotationOffset, -20 + b * 40.0f / 1000);
}

using PetalFlowerDrawTest = GLTest;

TEST_F(PetalFlowerDrawTest, GlowsBlueAroundTheCentre)
{
    std::srand(1);
    PetalFlower flower(nullptr, 4, 5);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-25, 25, -25, 25, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    flower.update(1.0f);
    glDisable(GL_BLEND);
    // Additive petals: blue outweighs red wherever something was drawn.
    int lit = 0;
    for (int y = 0; y < 480; y += 8)
        for (int x = 0; x < 640; x += 8) {
            const auto p = testsupport::readPixel(x, y);
            if (p[2] > 0) {
                ++lit;
                EXPECT_GE(p[2], p[0]);
            }
        }
    EXPECT_GT(lit, 20);
}
