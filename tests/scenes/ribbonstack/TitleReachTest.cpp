#include "scenes/ribbonstack/TitleReach.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using show::Mat4;
using show::Vec3;

TEST(TitleReachTest, TheLitBoxHoldsEveryPixelThatIsNotBlackATexelWider)
{
    // A 10 x 8 picture, lit at the pixels given: s counts tenths, t eighths.
    struct Case {
        std::vector<std::pair<int, int>> lit;
        float s0, s1, t0, t1;
    };
    const float inf = INFINITY;
    const Case cases[] = {
        {{{3, 2}, {5, 4}}, 0.2f, 0.7f, 0.125f, 0.75f},
        {{{0, 2}, {9, 7}}, -inf, inf, 0.125f, inf},   // edges repeat outwards
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s0);
        std::vector<uint8_t> rgb(10 * 8 * 3, 0);
        for (auto [x, y] : c.lit)
            rgb[size_t(y * 10 + x) * 3 + 2] = 1;   // blue alone counts
        const LitBox box = litBoxOf(rgb.data(), 10, 8, 3);
        ASSERT_FALSE(box.empty);
        EXPECT_FLOAT_EQ(box.s0, c.s0);
        EXPECT_FLOAT_EQ(box.s1, c.s1);
        EXPECT_FLOAT_EQ(box.t0, c.t0);
        EXPECT_FLOAT_EQ(box.t1, c.t1);
    }
    const std::vector<uint8_t> black(10 * 8 * 3, 0);
    EXPECT_TRUE(litBoxOf(black.data(), 10, 8, 3).empty);
}

TEST(TitleReachTest, TheReachHoldsWhatTheCameraSeesOfTheLitPartAndNoMore)
{
    // A camera at the origin looking down -z at a 2 x 2 x 2 box whose
    // middle is 10 in front; a projector 20 above it looking straight down.
    const Mat4 camera = Mat4::perspective(60.0f, 640.0f / 480.0f, 1.0f, 100.0f);
    const ScreenBox viewport{0, 0, 640, 480};
    std::vector<Plane> seen = viewPlanes(camera);
    for (const Plane& p : boxPlanes({-1.0f, -1.0f, -11.0f}, {1.0f, 1.0f, -9.0f}))
        seen.push_back(p);
    // The projector: from the box's stack to its picture, s along x, t along
    // z, q the depth below it.
    const Mat4 projector = Mat4::translation(0.5f, 0.5f, 0.0f) * Mat4::scaling(0.5f, 0.5f, 1.0f) *
                           Mat4::perspective(90.0f, 1.0f, 1.0f, 50.0f) *
                           Mat4::lookAt({0.0f, 20.0f, -10.0f}, {0.0f, 0.0f, -10.0f}, {0.0f, 0.0f, -1.0f});
    auto reach = [&](const LitBox& lit) {
        std::vector<Plane> planes = litPlanes(projector, lit);
        planes.insert(planes.end(), seen.begin(), seen.end());
        return screenReach(planes, camera, viewport);
    };
    // The whole picture lit: the box's own pixels. Its near face (z -9)
    // spans x and y of +-1 / (9 tan 30) of the half-view.
    const float half = 1.0f / (9.0f * std::tan(3.14159265f / 6.0f));
    const auto whole = reach({false, -INFINITY, INFINITY, -INFINITY, INFINITY});
    ASSERT_TRUE(whole.has_value());
    EXPECT_NEAR(whole->x, 320.0f - half * 240.0f - 1.0f, 1.0f);
    EXPECT_NEAR(whole->x + whole->width, 320.0f + half * 240.0f + 1.0f, 1.0f);
    EXPECT_NEAR(whole->y, 240.0f - half * 240.0f - 1.0f, 1.0f);
    EXPECT_NEAR(whole->y + whole->height, 240.0f + half * 240.0f + 1.0f, 1.0f);
    // The picture's right half lit: the box's half at x > 0 only.
    const auto right = reach({false, 0.5f, INFINITY, -INFINITY, INFINITY});
    ASSERT_TRUE(right.has_value());
    EXPECT_NEAR(right->x, 319.0f, 1.0f);
    EXPECT_EQ(right->x + right->width, whole->x + whole->width);
    EXPECT_EQ(right->height, whole->height);
    // Lit only beyond the box's reach in the picture: nothing to touch.
    EXPECT_FALSE(reach({false, 0.9f, INFINITY, -INFINITY, INFINITY}).has_value());
}
