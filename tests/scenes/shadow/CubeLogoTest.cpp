// The cube logo: boxes from the picture's bright pixels in pixel order, the
// push that tumbles them and dies away, and a logo without boxes.
#include "imagewriter/ImageWriter.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "scenes/shadow/CubeLogo.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdlib>
#include <string>
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

// The logo seen side-on (turned 200 degrees), lit by light 0, under an
// orthographic box two units either side.
void drawTurnedAndLit(CubeLogo& logo)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-200.0f, 0, 1, 0);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    logo.draw(0.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
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

TEST_F(CubeLogoTest, APictureWithMoreBoxesThanALogoHoldsIsLeftOutAndNamed)
{
    for (int bright : {512, 513}) {
        SCOPED_TRACE(bright);
        Picture picture(64, 9);
        for (int i = 0; i < bright; ++i)
            picture.set(i / 64, i % 64, 255);
        testing::internal::CaptureStdout();
        CubeLogo logo(picture.rgb.data(), picture.width, picture.height);
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(logo.cubes.size(), bright == 512 ? 512u : 0u);
        EXPECT_EQ(said.empty(), bright == 512) << said;
    }
    // A white picture of the data's: every pixel would be a box.
    testsupport::TempDirectory folder;
    imagewriter::writeFile((folder.path() / "k16.jpg").string(),
                           imagewriter::encodeJpeg(64, 64, std::vector<uint8_t>(64 * 64 * 3, 255)));
    ResourceManager resources(false, false);
    resources.dataDir = folder.path().string() + "/";
    testing::internal::CaptureStdout();
    CubeLogo logo(resources);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(logo.cubes.empty());
    EXPECT_NE(said.find("k16.jpg: 4096 bright pixels"), std::string::npos) << said;
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

namespace {

// The logo as updated at `t`, seen face on under an orthographic view four
// boxes wide: the view undoes the logo's turn about y (t radians and 200
// degrees), so a box at rest shows its square face. The shadow casters'
// boxes when `caster` is set.
void drawFaceOn(const CubeLogo& logo, float t, bool caster)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-(200.0f + t * 57.2957795f), 0, 1, 0);
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (caster)
        logo.drawCaster();
    else
        logo.draw(0.0f);
}

// Whether the pixel just beside the resting box's corner (outside it) is lit.
bool beyondTheRestingCorner()
{
    // The box spans x and y from -0.5 to 0.5: 80 pixels either side of the
    // middle at 160 pixels per unit; a box turned about z reaches past it.
    return testsupport::readPixel(320 + 88, 240)[0] != 0;
}

} // namespace

TEST_F(CubeLogoTest, TumblingBoxesDrawTurnedAndSettleBackToRest)
{
    // The lit boxes and the shadow casters' coarser ones move together.
    for (const bool caster : {false, true}) {
        SCOPED_TRACE(caster ? "casters" : "lit boxes");
        Picture picture(1, 1);
        picture.set(0, 0, 255);
        std::srand(1);
        CubeLogo logo(picture.rgb.data(), 1, 1);
        logo.update(0.0f);
        drawFaceOn(logo, 0.0f, caster);
        EXPECT_NE(testsupport::readPixel(320, 240)[0], 0);
        EXPECT_FALSE(beyondTheRestingCorner());

        // A push turns the box: its corner now reaches along the x axis.
        logo.key(' ');
        logo.key(' ');
        logo.key(' ');
        logo.update(0.5f);
        drawFaceOn(logo, 0.5f, caster);
        bool turned = false;
        for (int x = 320 + 81; x < 320 + 120; ++x)
            turned = turned || testsupport::readPixel(x, 240)[0] != 0 ||
                     testsupport::readPixel(320, 240 + x - 320)[0] != 0;
        EXPECT_TRUE(turned);

        // Once the push has died away the box draws at rest again.
        logo.update(10.0f);
        ASSERT_EQ(logo.pulse, 0.0f);
        logo.update(10.5f);
        drawFaceOn(logo, 10.5f, caster);
        EXPECT_FALSE(beyondTheRestingCorner());
        EXPECT_EQ(testsupport::readPixel(320, 240 + 88)[0], 0);
        EXPECT_NE(testsupport::readPixel(320, 240)[0], 0);
    }
}

TEST_F(CubeLogoTest, BoundsHoldEveryCornerOfEveryBoxWhileTumbling)
{
    Picture picture(5, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c)
            picture.set(r, c, (r + c) % 2 ? 255 : 0);
    std::srand(7);
    CubeLogo logo(picture.rgb.data(), picture.width, picture.height);
    for (int press = 0; press < 5; ++press)
        logo.key(' ');
    for (float t = 0.0f; t < 12.0f; t += 0.37f) {
        logo.update(t);
        float low[3], high[3];
        logo.bounds(low, high);
        for (const LogoCube& cube : logo.cubes)
            for (int corner = 0; corner < 8; ++corner) {
                const show::Vec3 p = cube.matrix.transformPoint(
                    {(corner & 1) ? 0.5f : -0.5f, (corner & 2) ? 0.5f : -0.5f, (corner & 4) ? 0.25f : -0.25f});
                const float xyz[3] = {p.x, p.y, p.z};
                for (int axis = 0; axis < 3; ++axis) {
                    EXPECT_GE(xyz[axis], low[axis] - 1e-5f) << "t " << t << " axis " << axis;
                    EXPECT_LE(xyz[axis], high[axis] + 1e-5f) << "t " << t << " axis " << axis;
                }
            }
    }
}

TEST_F(CubeLogoTest, TheFacesTowardsTheEyeAreDrawnAndTheCullStateIsKept)
{
    Picture picture(1, 1);
    picture.set(0, 0, 255);
    CubeLogo logo(picture.rgb.data(), 1, 1);
    logo.update(0.0f);
    // A light shining from the eye: the face towards it lights up, the one
    // behind it would get the ambient term alone.
    const GLfloat fromEye[4] = {0, 0, 1, 0};
    const GLfloat white[4] = {1, 1, 1, 1};
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, fromEye);
    glPopMatrix();
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glCullFace(GL_FRONT);
    drawTurnedAndLit(logo);

    EXPECT_GT(testsupport::readPixel(320, 240)[0], 150);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint face = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &face);
    EXPECT_EQ(face, GL_FRONT);
    glCullFace(GL_BACK);
}

TEST_F(CubeLogoTest, BoxesBesideTheCentreShadeAsTheOneAtTheCentreDoes)
{
    // Two boxes either side of the centre, lit from the front and the right:
    // their faces towards the eye turn the same way, so they take the same
    // light wherever the boxes stand.
    Picture picture(2, 1);
    picture.set(0, 0, 255);
    picture.set(0, 1, 255);
    CubeLogo logo(picture.rgb.data(), picture.width, picture.height);
    logo.update(0.0f);
    const GLfloat frontRight[4] = {1, 0, 1, 0};
    const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, frontRight);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    drawTurnedAndLit(logo);

    // The boxes stand 1.1 either side of the centre, 160 pixels a unit.
    const auto left = testsupport::readPixel(320 - 176, 240);
    const auto right = testsupport::readPixel(320 + 176, 240);
    EXPECT_GT(left[0], 40);
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_NEAR(left[channel], right[channel], 2) << "channel " << channel;
}
