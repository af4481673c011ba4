#include "scenes/tunnel/InverseCamera.h"
#include "scenes/aflowers/RibbonStrand.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cmath>

using show::Vec3;

namespace {

// A strand on a square path in the x-y plane, one corner per second.
RibbonStrand squareStrand(float step = 0.25f)
{
    RibbonStrand strand(8, step, 1.0f, 0.125f, 0.2f);
    for (const Vec3& corner : {Vec3(0, 0, 0), Vec3(10, 0, 0), Vec3(10, 10, 0), Vec3(0, 10, 0)})
        strand.path.append(corner);
    return strand;
}

} // namespace

TEST(RibbonStrand, FirstUpdateOnlyMarksTheTimeAndEarlierTimesAddNothing)
{
    RibbonStrand strand = squareStrand();
    strand.update(1.0f);
    EXPECT_FLOAT_EQ(strand.lastTime(), 1.0f);
    EXPECT_EQ(strand.laidCount(), 0);
    strand.update(1.5f);
    EXPECT_FLOAT_EQ(strand.lastTime(), 1.5f);
    EXPECT_EQ(strand.laidCount(), 2);
    const Vec3 newest = strand.section(0).points[0];
    // Going back in time lays nothing and keeps the clock where it was.
    strand.update(0.2f);
    EXPECT_FLOAT_EQ(strand.lastTime(), 1.5f);
    EXPECT_EQ(strand.laidCount(), 2);
    EXPECT_FLOAT_EQ(strand.section(0).points[0].x, newest.x);
}

TEST(RibbonStrand, SectionIsAFlatHexagonAcrossThePath)
{
    RibbonStrand strand = squareStrand();
    strand.update(0.0f);
    strand.update(0.25f);
    const RibbonStrand::Section& s = strand.section(0);
    const Vec3 centre = (s.points[2] + s.points[5]) * 0.5f;
    // Edges of the top face 2 x width apart, the pointed sides wider by
    // twice the ridge, the faces 2 x thickness apart.
    EXPECT_NEAR((s.points[1] - s.points[0]).length(), 2.0f, 1e-4f);
    EXPECT_NEAR((s.points[2] - s.points[5]).length(), 2.4f, 1e-4f);
    EXPECT_NEAR((s.points[0] - s.points[4]).length(), 0.25f, 1e-4f);
    EXPECT_NEAR(((s.points[0] + s.points[1] + s.points[3] + s.points[4]) * 0.25f - centre).length(), 0.0f, 1e-4f);
    // The carried up vector is the reversed direction of travel, unit long.
    const Vec3 travel = strand.path.position(0.25f) - strand.path.position(0.0f);
    EXPECT_NEAR(s.up.dot(travel.normalized()), -1.0f, 1e-4f);
}

TEST(RibbonStrand, AZeroDirectionLeavesASectionFlatButTheStrandKeepsItsUp)
{
    RibbonStrand strand(4, 0.5f, 1.0f, 0.125f, 0.2f);
    strand.path.append({3, 3, 3}); // a path of one point never moves
    strand.update(0.0f);
    strand.update(0.5f);
    const RibbonStrand::Section& s = strand.section(0);
    for (const Vec3& p : s.points) {
        EXPECT_FLOAT_EQ(p.x, 3.0f);
        EXPECT_FALSE(std::isnan(p.y));
    }
    EXPECT_FLOAT_EQ(s.up.y, 1.0f);
}

TEST(RibbonStrand, FarJumpsInTimeEndAndAPathlessStrandLaysNothing)
{
    RibbonStrand strand = squareStrand(0.05f);
    strand.update(0.0f);
    // One step is below the float's precision there: the update must end
    // (a loop stepping by it would never reach the time).
    strand.update(1.0e9f);
    EXPECT_FLOAT_EQ(strand.lastTime(), 1.0e9f);

    RibbonStrand pathless(4, 0.5f, 1.0f, 0.125f, 0.2f);
    pathless.update(0.0f);
    pathless.update(10.0f);
    EXPECT_FLOAT_EQ(pathless.lastTime(), 0.0f);
}

using RibbonStrandDrawing = GLTest;

TEST_F(RibbonStrandDrawing, DrawsOnlyWhatItLaidFromHeadToTailAndNeverBackAcrossTheGap)
{
    // A level square loop seen from above at a slant. Young, the strand has
    // two sections and its empty slots hold the loop's centre; grown, its
    // eight sections cover half the loop, so its head and tail lie across
    // the loop with nothing between them.
    RibbonStrand strand(8, 0.25f, 0.08f, 0.01f, 0.02f);
    for (const Vec3& corner : {Vec3(-0.6f, 0, -0.6f), Vec3(0.6f, 0, -0.6f), Vec3(0.6f, 0, 0.6f), Vec3(-0.6f, 0, 0.6f)})
        strand.path.append(corner);
    strand.update(0.0f);
    strand.update(0.5f);
    const float slant = 40.0f;
    glRotatef(slant, 1, 0, 0);
    glColor4f(1, 1, 1, 1);
    strand.draw();

    const float c = std::cos(slant * 3.14159265f / 180.0f), s = std::sin(slant * 3.14159265f / 180.0f);
    const auto pixelOf = [&](const Vec3& p) {
        return testsupport::readPixel(static_cast<int>((p.x + 1.0f) * 320.0f),
                                      static_cast<int>((p.y * c - p.z * s + 1.0f) * 240.0f));
    };
    const auto middleOf = [&](int age) {
        const RibbonStrand::Section& at = strand.section(age);
        return (at.points[0] + at.points[1]) * 0.5f;
    };
    EXPECT_EQ(pixelOf(middleOf(1) * 0.5f)[0], 0);   // nothing reaches out to the empty slots
    glClear(GL_COLOR_BUFFER_BIT);
    strand.update(2.0f);
    strand.draw();
    EXPECT_EQ(pixelOf((middleOf(0) + middleOf(1)) * 0.5f)[0], 255);   // the head's band
    EXPECT_EQ(pixelOf((middleOf(0) + middleOf(7)) * 0.5f)[0], 0);     // between the head and the tail
}

TEST(InverseCamera, UndoesARotationWithTranslationAndSurvivesASingularMatrix)
{
    const show::Mat4 camera = show::Mat4::lookAt({3, -7, 2}, {1, 4, 5}, {0, 0, 1});
    const show::Mat4 back = inverseCamera(camera);
    for (const Vec3& p : {Vec3(0, 0, 0), Vec3(1, 2, 3), Vec3(-40, 5, 9)}) {
        const Vec3 q = back.transformPoint(camera.transformPoint(p));
        EXPECT_NEAR((q - p).length(), 0.0f, 1e-4f);
    }
    show::Mat4 missing{};
    missing.m[15] = 1.0f;
    const show::Mat4 fallback = inverseCamera(missing);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(fallback.m[i], show::Mat4::identity().m[i]);
}
