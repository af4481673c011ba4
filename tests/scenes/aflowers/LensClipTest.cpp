#include "scenes/aflowers/LensClip.h"

#include <gtest/gtest.h>

#include <cmath>

using show::Mat4;
using show::Vec3;

namespace {

bool inside(const std::array<ClipPlane, 4>& planes, const Vec3& p)
{
    for (const ClipPlane& plane : planes)
        if (plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3] < 0.0)
            return false;
    return true;
}

} // namespace

TEST(LensClip, ThePictureAheadAndMirroredBehindIsKeptAndNothingElse)
{
    // A projector beside the world's origin, as the flowers' orbit has one.
    const Mat4 lens = Mat4::translation(0.5f, 0.5f, 0.5f) * Mat4::scaling(0.5f, -0.5f, 0.5f) *
                      Mat4::perspective(110.0f, 1.0f, 1.0f, 30.0f) *
                      Mat4::lookAt(Vec3(27.0f, 0.0f, 7.0f), Vec3(20.0f, 0.0f, 0.0f), Vec3(0.0f, 0.0f, 1.0f));
    const auto ahead = lensSidePlanes(lens, lensAhead);
    const auto behind = lensSidePlanes(lens, lensBehind);
    int kept[2] = {0, 0};
    for (float x = -20.0f; x <= 70.0f; x += 2.3f)
        for (float y = -40.0f; y <= 40.0f; y += 2.3f)
            for (float z = -30.0f; z <= 60.0f; z += 2.3f) {
                const Vec3 p(x, y, z);
                const double s = lens.at(0, 0) * x + lens.at(0, 1) * y + lens.at(0, 2) * z + lens.at(0, 3);
                const double t = lens.at(1, 0) * x + lens.at(1, 1) * y + lens.at(1, 2) * z + lens.at(1, 3);
                const double q = lens.at(3, 0) * x + lens.at(3, 1) * y + lens.at(3, 2) * z + lens.at(3, 3);
                if (std::fabs(q) < 1e-3)
                    continue;
                const double u = s / q, v = t / q;
                // Points on a pyramid's face can fall either way.
                if (std::fabs(u) < 1e-4 || std::fabs(u - 1) < 1e-4 || std::fabs(v) < 1e-4 || std::fabs(v - 1) < 1e-4)
                    continue;
                const bool onPicture = u > 0 && u < 1 && v > 0 && v < 1;
                const bool isAhead = inside(ahead, p), isBehind = inside(behind, p);
                SCOPED_TRACE(testing::Message() << x << ", " << y << ", " << z);
                ASSERT_EQ(onPicture, isAhead || isBehind);
                ASSERT_FALSE(isAhead && isBehind);
                kept[0] += isAhead, kept[1] += isBehind;
            }
    // Both sides hold points of the grid, so both were looked at.
    EXPECT_GT(kept[0], 100);
    EXPECT_GT(kept[1], 100);
}
