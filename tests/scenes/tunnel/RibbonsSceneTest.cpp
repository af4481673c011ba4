#include "scenes/SceneFixture.h"

#include "scenes/ShowTimeline.h"
#include "sequencer/Demo.h"

#include "effects/CopyScreen.h"
#include "scenes/tunnel/RibbonsScene.h"
#include "scenes/tunnel/TextPlane.h"

#include "imagewriter/ImageWriter.h"
#include "resources/TempDirectory.h"

#include <numeric>
#include <vector>

using RibbonsSceneTest = SceneFixture;

namespace {
constexpr int ribbonsRow = 2;

// A Demo of the tunnel alone, so its frames get the accents and the
// letterbox bars as in the show.
std::unique_ptr<Demo> tunnelDemo()
{
    auto resources = std::make_unique<ResourceManager>(false, true);
    resources->setObjectFactory(createSharedObject);
    Timeline timeline{};
    timeline[ribbonsRow] = showTimeline()[ribbonsRow];
    std::srand(1);
    testing::internal::CaptureStdout();
    auto demo = std::make_unique<Demo>(std::move(resources), timeline);
    demo->clock.onFrames = true;
    demo->musicPending = false;
    while (demo->loadStage() > 0) {
    }
    testing::internal::GetCapturedStdout();
    return demo;
}
} // namespace

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

TEST_F(RibbonsSceneTest, FramesLookTheSameWhenTheRowsUnderTheBarsAreLeftUndrawn)
{
    std::unique_ptr<Demo> skipping = tunnelDemo(), drawing = tunnelDemo();
    dynamic_cast<RibbonsScene&>(*drawing->scenes.at(0)).skipRowsUnderBars = false;
    // Plain frames, the jitter and the blur (which move pixels about) and
    // their last frames, and the streaks of the closing beats.
    const struct {
        float beat;
        int key;
    } frames[] = {{10.0f, 0}, {10.1f, 'j'}, {10.2f, 0}, {12.0f, 'k'}, {12.1f, 0}, {29.5f, 0}, {29.6f, 0}};
    // The closing streaks start from the previous frame: each Demo's own.
    std::vector<unsigned char> shown[2] = {readScreen(), readScreen()};
    for (const auto& frame : frames) {
        SCOPED_TRACE(frame.beat);
        for (int k = 0; k < 2; ++k) {
            Demo& demo = k == 0 ? *skipping : *drawing;
            const Scene& scene = *demo.scenes.at(0);
            glWindowPos2i(0, 0);
            glDrawPixels(640, 480, GL_RGB, GL_UNSIGNED_BYTE, shown[k].data());
            std::srand(7);
            if (frame.key != 0)
                demo.onKey(frame.key, 0, 0);
            const float t = scene.timeOfBeat(frame.beat);
            demo.drawFrame(0, demo.clock.showTimeInScene(scene.start, t), t);
            shown[k] = readScreen();
        }
        EXPECT_GT(brightest(shown[1]), 40);
        EXPECT_EQ(difference(shown[0], shown[1]), 0.0);
    }
}

TEST_F(RibbonsSceneTest, RibbonsFoggedAtTheirCornersLookAsTheGLFogsThem)
{
    // Three alike ribbons whose trails run from 30 to past 250 units ahead of
    // a turned camera, through the fog's end at 200: fogged by the GL, by
    // their own corners, and not at all.
    glMatrixMode(GL_PROJECTION);
    glFrustum(-1, 1, -0.75, 0.75, 1, 500);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(20.0f, 0, 1, 0);
    glTranslatef(0.0f, 0.0f, -10.0f);
    const DepthFog none{{0, 0, 0, 0}, 1.0f};
    const DepthFog fog = DepthFog::ofCurrentView(200.0f);
    const show::Mat4 ahead = show::Mat4::rotation(90.0f, 1, 0, 0);
    std::vector<TrailRibbon> ribbons;
    for (int k = 0; k < 3; ++k) {
        std::srand(5);
        ribbons.emplace_back();
        for (int f = 0; f < RibbonsScene::pathPoints; ++f)
            ribbons.back().appendPoint(show::Mat4::translation(0, 0, -20.0f - 2.5f * f) * ahead);
    }
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 200.0f);
    std::vector<unsigned char> shown[3];
    for (int frame = 0; frame < TrailRibbon::trailLength; ++frame)
        for (int k = 0; k < 3; ++k) {
            glClear(GL_COLOR_BUFFER_BIT);
            if (k == 0)
                glEnable(GL_FOG);
            ribbons[k].drawFrame(0.5f * frame, show::Vec3(), k == 1 ? fog : none);
            glDisable(GL_FOG);
            shown[k] = readScreen();
        }
    // The fog takes a good share of the light away, and the two fogs agree.
    const auto light = [](const std::vector<unsigned char>& pixels) {
        return std::accumulate(pixels.begin(), pixels.end(), 0.0);
    };
    EXPECT_LT(light(shown[0]), 0.8 * light(shown[2]));
    int worst = 0;
    for (size_t i = 0; i < shown[0].size(); ++i)
        worst = std::max(worst, std::abs(shown[1][i] - shown[0][i]));
    EXPECT_LE(worst, 2);
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

TEST_F(RibbonsSceneTest, ATextPlaneDrawnOnlyOverItsLightPartLooksAsTheWholePlaneDoes)
{
    // One light block off the middle on both axes, so a box turned or
    // flipped in either lands elsewhere.
    testsupport::TempDirectory folder;
    std::vector<uint8_t> rgb(64 * 32 * 3, 0);
    for (int row = 20; row < 28; ++row)
        for (int column = 40; column < 48; ++column)
            for (int channel = 0; channel < 3; ++channel)
                rgb[(row * 64 + column) * 3 + channel] = 255;
    imagewriter::writeFile((folder.path() / "block.jpg").string(), imagewriter::encodeJpeg(64, 32, rgb));
    TextPlane plane(resourcesReading(folder.path()), "block.jpg", 10.0f,
                    show::Mat4::rotation(-70.0f, 1, 0, 0) * show::Mat4::rotation(20.0f, 0, 1, 0));
    ASSERT_TRUE(plane.texture);
    EXPECT_LE(plane.lit.left, 39);
    EXPECT_GE(plane.lit.right, 49);
    EXPECT_LE(plane.lit.top, 19);
    EXPECT_GE(plane.lit.bottom, 29);
    EXPECT_LT(plane.lit.right - plane.lit.left, 32);
    EXPECT_LT(plane.lit.bottom - plane.lit.top, 16);

    glMatrixMode(GL_PROJECTION);
    glFrustum(-1, 1, -0.75, 0.75, 1, 50);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.0f, 0.0f, -6.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    const auto drawn = [&] {
        glClear(GL_COLOR_BUFFER_BIT);
        plane.draw(10.0f);
        return readScreen();
    };
    const auto boxed = drawn();
    plane.lit = TextPlane::Box{0, 0, 64, 32};
    const auto whole = drawn();
    glDisable(GL_BLEND);
    EXPECT_GT(brightest(whole), 60);
    EXPECT_LT(difference(boxed, whole), 0.01);
}

namespace {
// Where one plane adds light to the picture between the letterbox bars (the
// pull copies the frame's middle into the corners under the bars): the
// columns it spans and the share of that picture it lights.
struct Footprint {
    int left = 640, right = -1;
    double share = 0;
};

Footprint footprint(const std::vector<unsigned char>& with, const std::vector<unsigned char>& without)
{
    Footprint f;
    int lit = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const unsigned char* a = &with[(y * 640 + x) * 3];
            const unsigned char* b = &without[(y * 640 + x) * 3];
            if (y < 40 || y >= 440 || a[0] - b[0] + a[1] - b[1] + a[2] - b[2] < 60)
                continue;
            f.left = std::min(f.left, x), f.right = std::max(f.right, x);
            ++lit;
        }
    f.share = lit / (640.0 * 400.0);
    return f;
}
} // namespace

TEST_F(RibbonsSceneTest, EachWordReadsWholeAsTheCameraNearsItAndStaysOutOfTheFrameAsItPasses)
{
    // One scene with its words, one that hides the word looked at: both play
    // the same frames, so their difference is that word (and its pulled copy).
    RibbonsScene& scene = buildScene<RibbonsScene>(ribbonsRow);
    std::srand(1);
    RibbonsScene& bare = buildScene<RibbonsScene>(ribbonsRow);
    const struct {
        float reads;    // a beat after the scene's start at which the word is to be read
        float passes;   // a frame before the camera goes through its plane
    } words[] = {{3.5f, 6.36f}, {7.0f, 9.73f}, {10.5f, 13.1f}, {13.75f, 14.78f}, {15.25f, 16.47f}, {16.0f, 17.31f}};
    for (size_t k = 0; k < std::size(words); ++k) {
        SCOPED_TRACE(k);
        const float shown = bare.planes[k]->showTime;
        bare.planes[k]->showTime = 1000.0f;
        playBeat(bare, words[k].reads);
        const auto without = readScreen();
        playBeat(scene, words[k].reads);
        const Footprint read = footprint(readScreen(), without);
        // Whole, clear of the frame's sides, and large enough to read.
        EXPECT_GT(read.left, 16);
        EXPECT_LT(read.right, 624);
        EXPECT_GT(read.right - read.left, 60);
        playBeat(bare, words[k].passes);
        const auto passedWithout = readScreen();
        playBeat(scene, words[k].passes);
        // The camera goes through under the letters, not through a letter
        // that would fill the frame.
        EXPECT_LT(footprint(readScreen(), passedWithout).share, 0.1);
        bare.planes[k]->showTime = shown;
    }
}

TEST_F(RibbonsSceneTest, EveryWordLeavesItsPicturesEdgesAndMiddleDark)
{
    // Letters at an edge are cut off; letters across the middle are what the
    // camera flies through.
    RibbonsScene& scene = buildScene<RibbonsScene>(ribbonsRow);
    for (const auto& plane : scene.planes) {
        SCOPED_TRACE(plane->showTime);
        ASSERT_EQ(plane->width, 512);
        ASSERT_EQ(plane->height, 256);
        std::vector<unsigned char> lit(512 * 256);
        glBindTexture(plane->target, plane->texture.get());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(plane->target, 0, GL_ALPHA, GL_UNSIGNED_BYTE, lit.data());
        int edge = 0, middle = 0, letters = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 512; ++x) {
                const bool on = lit[y * 512 + x] != 0;
                letters += on;
                edge += on && (x < 12 || x >= 500 || y < 8 || y >= 248);
                middle += on && std::abs(y - 128) < 16;
            }
        EXPECT_EQ(edge, 0);
        EXPECT_EQ(middle, 0);
        EXPECT_GT(letters, 512 * 256 / 40);
    }
}
