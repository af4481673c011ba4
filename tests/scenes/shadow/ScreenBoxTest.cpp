// The window box of a sphere: around its projection, grown by the margin,
// held in the viewport, and refused when the sphere reaches behind the eye.
#include "core/ShowMath.h"
#include "scenes/shadow/ScreenBox.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct View {
    float projection[16];
    float modelView[16];
    View(const show::Vec3& eye)
    {
        std::memcpy(projection, show::Mat4::perspective(90.0f, 1.0f, 1.0f, 100.0f).m, sizeof projection);
        std::memcpy(modelView, show::Mat4::lookAt(eye, {0, 0, 0}, {0, 1, 0}).m, sizeof modelView);
    }
};

} // namespace

TEST(ScreenBox, BoundsTheSphereAroundItsProjection)
{
    const View view({0, 0, 10});
    const float centre[3] = {0, 0, 0};
    ScreenBox box{};
    ASSERT_TRUE(sphereScreenBox(view.projection, view.modelView, centre, 1.0f, 200, 200, 0, box));
    // A unit sphere 10 away under a 90 degree view: about a tenth of the
    // half-width each side of the middle, a little more for the nearer corners.
    EXPECT_LE(box.x, 90);
    EXPECT_GE(box.x, 85);
    EXPECT_NEAR(box.x + box.width, 200 - box.x, 1);
    EXPECT_NEAR(box.y, box.x, 1);

    ScreenBox grown{};
    ASSERT_TRUE(sphereScreenBox(view.projection, view.modelView, centre, 1.0f, 200, 200, 7, grown));
    EXPECT_EQ(grown.x, box.x - 7);
    EXPECT_EQ(grown.width, box.width + 14);
}

TEST(ScreenBox, StaysInsideTheViewport)
{
    const View view({0, 0, 3});
    const float centre[3] = {1.5f, 1.5f, 0};
    ScreenBox box{};
    ASSERT_TRUE(sphereScreenBox(view.projection, view.modelView, centre, 1.0f, 640, 480, 20, box));
    EXPECT_GE(box.x, 0);
    EXPECT_GE(box.y, 0);
    EXPECT_EQ(box.x + box.width, 640);
    EXPECT_EQ(box.y + box.height, 480);
}

TEST(ScreenBox, RefusesASphereReachingBehindTheEye)
{
    const View view({0, 0, 10});
    const float centre[3] = {0, 0, 9.5f};
    ScreenBox box{};
    EXPECT_FALSE(sphereScreenBox(view.projection, view.modelView, centre, 1.0f, 640, 480, 0, box));
    const float behind[3] = {0, 0, 20};
    EXPECT_FALSE(sphereScreenBox(view.projection, view.modelView, behind, 1.0f, 640, 480, 0, box));
}

TEST(ScreenBox, AFlatBlockGetsAFlatBoxInsideTheSpheresBox)
{
    const View view({0, 0, 10});
    const float low[3] = {-4, -1, -0.25f}, high[3] = {4, 1, 0.25f};
    ScreenBox block{};
    ASSERT_TRUE(blockScreenBox(view.projection, view.modelView, low, high, 640, 480, 0, block));
    // Eight wide and two high, 10 away under a 90 degree view of 640 x 480:
    // 32 pixels per unit across and 24 up, a little more for the near face.
    EXPECT_NEAR(block.width, 8 * 32, 12);
    EXPECT_NEAR(block.height, 2 * 24, 4);
    EXPECT_NEAR(block.x + block.width / 2, 320, 1);
    EXPECT_NEAR(block.y + block.height / 2, 240, 1);

    const float centre[3] = {0, 0, 0};
    ScreenBox sphere{};
    ASSERT_TRUE(sphereScreenBox(view.projection, view.modelView, centre, show::Vec3(4, 1, 0.25f).length(), 640,
                                480, 0, sphere));
    EXPECT_GE(block.x, sphere.x);
    EXPECT_LE(block.x + block.width, sphere.x + sphere.width);
    EXPECT_LT(block.height * 3, sphere.height);
}

TEST(ScreenBox, RefusesABlockWithACornerBehindTheEye)
{
    const View view({0, 0, 10});
    const float low[3] = {-1, -1, -1}, high[3] = {1, 1, 10.5f};
    ScreenBox box{};
    EXPECT_FALSE(blockScreenBox(view.projection, view.modelView, low, high, 640, 480, 0, box));
}
