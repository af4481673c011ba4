// The cube logo: boxes from the picture's bright pixels in pixel order, the
// push that tumbles them and dies away, and a logo without boxes.
#include "scenes/CubeLogo.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

struct Picture {
    int width, height;
    std::vector<unsigned char> rgb;
    Picture(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}
    void set(int row, int column, unsigned char red, unsigned char green = 0)
    {
        rgb[(row * width + column) * 3] = red;
        rgb[(row * width + column) * 3 + 1] = green;
    }
};

bool isTranslationOnly(const show::Mat4& m, const float (&position)[3])
{
    const show::Mat4 expected = show::Mat4::translation(position[0], position[1], position[2]);
    for (int i = 0; i < 16; ++i)
        if (std::abs(m.m[i] - expected.m[i]) > 1e-6f)
            return false;
    return true;
}

} // namespace

using CubeLogoTest = GLTest;

TEST_F(CubeLogoTest, BrightRedPixelsBecomeBoxesInPixelOrder)
{
    Picture picture(3, 2);
    picture.set(0, 0, 101);
    picture.set(0, 1, 100, 255);   // red not above 100: no box, whatever the green
    picture.set(1, 2, 255);
    std::srand(1);
    const float firstRate = show::random(-3.14159f, 3.14159f);
    const float secondRate = show::random(-3.14159f, 3.14159f);
    std::srand(1);
    CubeLogo logo(picture.rgb.data(), picture.width, picture.height);
    ASSERT_EQ(logo.cubes.size(), 2u);
    // Columns span [-1.5, 1.5] and rows [-1, 1], 1.1 apart per unit.
    EXPECT_FLOAT_EQ(logo.cubes[0].position[0], -1.65f);
    EXPECT_FLOAT_EQ(logo.cubes[0].position[1], -1.1f);
    EXPECT_FLOAT_EQ(logo.cubes[1].position[0], 1.65f);
    EXPECT_FLOAT_EQ(logo.cubes[1].position[1], 1.1f);
    EXPECT_FLOAT_EQ(logo.cubes[0].spinRate, firstRate);
    EXPECT_FLOAT_EQ(logo.cubes[1].spinRate, secondRate);
}

TEST_F(CubeLogoTest, ASingleColumnOrRowSitsOnTheCentreLine)
{
    Picture column(1, 3);
    column.set(0, 0, 255);
    column.set(2, 0, 255);
    CubeLogo logo(column.rgb.data(), column.width, column.height);
    ASSERT_EQ(logo.cubes.size(), 2u);
    for (const LogoCube& cube : logo.cubes) {
        EXPECT_EQ(cube.position[0], 0.0f);   // not NaN from an empty column range
        EXPECT_TRUE(std::isfinite(cube.position[1]));
    }
}

TEST_F(CubeLogoTest, ThreePressesTumbleTheBoxesForSixSeconds)
{
    Picture picture(2, 1);
    picture.set(0, 0, 255);
    picture.set(0, 1, 255);
    std::srand(1);   // rates 383 and 886 of 1000: both boxes turn
    CubeLogo logo(picture.rgb.data(), picture.width, picture.height);
    logo.update(10.0f);
    for (int press = 0; press < 3; ++press)
        logo.key(' ');
    logo.key('a');
    EXPECT_FLOAT_EQ(logo.pulse, 0.3f);

    float previousS = 2.0f;
    for (int step = 1; step <= 60; ++step) {
        const float before = logo.pulse;
        logo.update(10.0f + step * 0.1f);
        // The boxes turn by sin(pi x pulse) of their rate as the pulse stood.
        const float s = std::sin(3.14159f * before);
        EXPECT_LE(s, previousS + 1e-6f);
        previousS = s;
        if (before > 0.0f) {
            EXPECT_FALSE(isTranslationOnly(logo.cubes[0].matrix, logo.cubes[0].position)) << step;
        }
    }
    logo.update(16.1f);
    EXPECT_EQ(logo.pulse, 0.0f);
    logo.update(16.2f);
    for (const LogoCube& cube : logo.cubes)
        EXPECT_TRUE(isTranslationOnly(cube.matrix, cube.position));
}

TEST_F(CubeLogoTest, WithoutAPushOnlyTheWholeLogoTurns)
{
    Picture picture(1, 1);
    picture.set(0, 0, 255);
    CubeLogo logo(picture.rgb.data(), 1, 1);
    logo.update(1.5f);
    EXPECT_TRUE(isTranslationOnly(logo.cubes[0].matrix, logo.cubes[0].position));
    const show::Mat4 expected = show::Mat4::rotation(1.5f * 57.2957795f, 0, 1, 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(logo.orientation.m[i], expected.m[i], 1e-5f);
}

TEST_F(CubeLogoTest, TimeRunningBackNeverFeedsThePush)
{
    Picture picture(1, 1);
    picture.set(0, 0, 255);
    CubeLogo logo(picture.rgb.data(), 1, 1);
    logo.update(40.0f);
    logo.key(' ');
    logo.update(0.0f);   // the scene starting over
    EXPECT_FLOAT_EQ(logo.pulse, 0.1f);
    logo.update(1.0f);
    EXPECT_FLOAT_EQ(logo.pulse, 0.05f);
}

TEST_F(CubeLogoTest, ALogoWithoutBrightPixelsOnlyAppliesItsState)
{
    Picture dark(4, 4);
    CubeLogo logo(dark.rgb.data(), dark.width, dark.height);
    EXPECT_TRUE(logo.cubes.empty());
    logo.normalState.diffuse[0] = 0.25f;
    logo.glowState.diffuse[0] = 0.75f;
    logo.update(2.0f);

    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
    GLfloat before[16], after[16], diffuse[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    logo.draw(0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.25f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]);
    EXPECT_EQ(testsupport::readPixel(320, 240)[0], 0);

    logo.glow = true;
    logo.draw(0.0f);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.75f);
}

TEST_F(CubeLogoTest, BoxesDrawWhereTheyStand)
{
    Picture picture(1, 1);
    picture.set(0, 0, 255);
    CubeLogo logo(picture.rgb.data(), 1, 1);
    logo.update(0.0f);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-2, 2, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
    logo.draw(0.0f);
    EXPECT_EQ(testsupport::readPixel(320, 240)[0], 255);       // the box at the centre
    EXPECT_EQ(testsupport::readPixel(320 + 100, 240)[0], 0);   // one box-width beside it
}
