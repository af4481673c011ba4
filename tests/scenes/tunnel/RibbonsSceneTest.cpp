#include "scenes/SceneFixture.h"

#include "effects/CopyScreen.h"
#include "scenes/tunnel/RibbonsScene.h"
#include "scenes/tunnel/TextPlane.h"

#include "imagewriter/ImageWriter.h"
#include "resources/TempDirectory.h"

#include <vector>

using RibbonsSceneTest = SceneFixture;

namespace {
constexpr int ribbonsRow = 2;
}

TEST_F(RibbonsSceneTest, DrivenFrameRunsOnTheCallersClockAndStaysInTheCopyTarget)
{
    RibbonsScene& scene = buildScene<RibbonsScene>(ribbonsRow);
    ASSERT_NE(scene.copy, nullptr);
    scene.driven = true;
    // Driven, the time is the scene's own: far from its start it still draws.
    EXPECT_EQ(scene.update(scene.timeOfBeat(1.0f)), 0);
    const auto screen = readScreen();
    EXPECT_GT(brightest(screen), 40);
    scene.copy->bind();
    EXPECT_LT(difference(screen, readTexture(scene.copy->target)), 0.01);
}

TEST_F(RibbonsSceneTest, EndsThirtyBeatsAfterItsStartWhateverThePreRoll)
{
    RibbonsScene& scene = buildScene<RibbonsScene>(ribbonsRow);
    EXPECT_FLOAT_EQ(scene.preRoll, scene.timeOfBeat(2.0f));
    EXPECT_EQ(playBeat(scene, 29.9f), 0);
    EXPECT_EQ(play(scene, scene.duration + 0.001f), 1);
}

TEST_F(RibbonsSceneTest, PlaysOnWithoutItsDataFiles)
{
    ownData();
    RibbonsScene& scene = buildScene<RibbonsScene>(ribbonsRow);
    EXPECT_EQ(play(scene, 1.0f), 0);
    for (const auto& plane : scene.planes)
        EXPECT_FALSE(plane->texture);
}

TEST_F(RibbonsSceneTest, TextPlaneLayersFadeOverEightSecondsEitherSide)
{
    TextPlane plane(resources(), "_text3.jpg", 10.0f, show::Mat4::rotation(-90.0f, 1, 0, 0));
    ASSERT_TRUE(plane.texture);
    EXPECT_FLOAT_EQ(plane.layerAlpha(0, 10.0f), 0.1f);
    EXPECT_NEAR(plane.layerAlpha(14, 10.0f), 0.1f / 15, 1e-6);
    EXPECT_NEAR(plane.layerAlpha(0, 6.0f), 0.05f, 1e-6);
    EXPECT_FLOAT_EQ(plane.layerAlpha(0, 18.01f), 0.0f);

    glMatrixMode(GL_PROJECTION);
    glOrtho(-5, 5, -5, 5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    plane.draw(1.9f);
    EXPECT_EQ(brightest(readScreen()), 0);
    plane.draw(10.0f);
    EXPECT_GT(brightest(readScreen()), 60);
    glDisable(GL_BLEND);
}

TEST_F(RibbonsSceneTest, ATextPlaneShowsItsLettersAndNotTheirBackground)
{
    // A picture light on its left half (the letters) and dark on its right.
    testsupport::TempDirectory folder;
    std::vector<uint8_t> rgb(64 * 32 * 3, 0);
    for (int row = 0; row < 32; ++row)
        for (int column = 0; column < 32; ++column)
            for (int channel = 0; channel < 3; ++channel)
                rgb[(row * 64 + column) * 3 + channel] = 255;
    imagewriter::writeFile((folder.path() / "half.jpg").string(), imagewriter::encodeJpeg(64, 32, rgb));
    TextPlane plane(resourcesReading(folder.path()), "half.jpg", 10.0f, show::Mat4::rotation(-90.0f, 1, 0, 0));
    ASSERT_TRUE(plane.texture);

    glMatrixMode(GL_PROJECTION);
    glOrtho(-5, 5, -5, 5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    plane.draw(10.0f);
    glDisable(GL_BLEND);
    // The plane spans x from -4 to 4: a quarter of the way in from either side.
    EXPECT_GT(testsupport::readPixel(320 - 128, 240)[0], 60);
    EXPECT_EQ(testsupport::readPixel(320 + 128, 240)[0], 0);
}
