#include "scenes/SceneFixture.h"

#include "effects/CopyScreen.h"
#include "scenes/aflowers/AflowersScene.h"
#include "scenes/tunnel/RibbonsScene.h"

#include <algorithm>
#include <array>
#include <cmath>

using AflowersSceneTest = SceneFixture;

namespace {

constexpr int aflowersRow = 1;
constexpr int ribbonsRow = 2;

std::vector<unsigned char> frameAt(AflowersScene& scene, float beat)
{
    SceneFixture::playBeat(scene, beat);
    return SceneFixture::readScreen();
}

} // namespace

namespace {

double meanLevel(const std::vector<unsigned char>& pixels)
{
    double sum = 0;
    for (unsigned char p : pixels)
        sum += p;
    return sum / static_cast<double>(pixels.size());
}

} // namespace

TEST_F(AflowersSceneTest, FadesInFromBlackEvenlyOverItsFirstBeat)
{
    // The picture changes little over the first beat, so the fade decides
    // how bright each frame is: a quarter, then half the light of the frame
    // after the fade.
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    EXPECT_EQ(brightest(frameAt(scene, 0.0f)), 0);
    const double quarter = meanLevel(frameAt(scene, 0.25f));
    const double half = meanLevel(frameAt(scene, 0.5f));
    const double whole = meanLevel(frameAt(scene, 1.0f));
    ASSERT_GT(whole, 10.0);
    EXPECT_NEAR(quarter / whole, 0.25, 0.06);
    EXPECT_NEAR(half / whole, 0.5, 0.08);
}

namespace {

// The first show time whose scene beat is at least `beat`.
float firstTimeAtBeat(const Scene& scene, float beat)
{
    float t = scene.start + scene.timeOfBeat(beat);
    while (scene.localBeat(t) < beat)
        t = std::nextafter(t, HUGE_VALF);
    while (scene.localBeat(std::nextafter(t, -HUGE_VALF)) >= beat)
        t = std::nextafter(t, -HUGE_VALF);
    return t;
}

} // namespace

TEST_F(AflowersSceneTest, OrbitsWithThePictureFromBeatEightThroughBeatTwenty)
{
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    // A camera cut changes the whole picture; a hundredth of a beat on the
    // same camera changes next to nothing. The cuts fall between two show
    // times as close as the clock can tell: the last before beat 8 and the
    // first on it, the last on beat 20 and the first after it.
    const auto frameAtTime = [&](float t) {
        scene.update(t);
        return readScreen();
    };
    const float in = firstTimeAtBeat(scene, 8.0f);
    const auto before = frameAtTime(std::nextafter(in, -HUGE_VALF));
    const auto first = frameAtTime(in);
    const auto next = frameAt(scene, 8.01f);
    EXPECT_GT(difference(before, first), 8 * difference(first, next));

    const float out = firstTimeAtBeat(scene, std::nextafter(20.0f, HUGE_VALF));
    const auto last = frameAtTime(std::nextafter(out, -HUGE_VALF));
    const auto after = frameAtTime(out);
    const auto later = frameAt(scene, 20.01f);
    EXPECT_GT(difference(last, after), 8 * difference(after, later));
}

TEST_F(AflowersSceneTest, CrossFadeEndsOnTheNextScenesOwnFrame)
{
    RibbonsScene& ribbons = buildScene<RibbonsScene>(ribbonsRow);
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    const auto alone = frameAt(scene, 33.0f);
    // Linked as the show links its scenes.
    std::array<Scene*, sceneStageCount> byStage{};
    byStage[aflowersRow] = &scene;
    byStage[ribbonsRow] = &ribbons;
    linkShowScenes(byStage);
    const auto halfway = frameAt(scene, 33.0f);
    EXPECT_FALSE(ribbons.driven);
    EXPECT_FLOAT_EQ(ribbons.preRoll, scene.timeOfBeat(2.0f));
    ribbons.copy->bind();
    const auto ribbonFrame = readTexture(ribbons.copy->target);
    EXPECT_GT(difference(halfway, alone), 2.0);
    EXPECT_GT(difference(halfway, ribbonFrame), 2.0);

    const auto end = frameAt(scene, 34.0f);
    ribbons.copy->bind();
    EXPECT_LT(difference(end, readTexture(ribbons.copy->target)), 1.0);
}

TEST_F(AflowersSceneTest, TheOpenFlowersGlowWithoutBlowingOutToWhite)
{
    // The last beats before the cross-fade: every flower wide open, the
    // flight at its closest to the spiral's upper turns.
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    for (float beat : {31.0f, 32.0f}) {
        SCOPED_TRACE(beat);
        const auto pixels = frameAt(scene, beat);
        int white = 0;
        for (size_t i = 0; i < pixels.size(); i += 3)
            white += std::min({pixels[i], pixels[i + 1], pixels[i + 2]}) >= 250;
        EXPECT_LT(white, 640 * 480 / 20);
        EXPECT_GT(brightest(pixels), 200);   // still glowing
    }
}

TEST_F(AflowersSceneTest, DrawsTheWholeBandBetweenTheBars)
{
    // The frame may stop at the bars (the top and bottom 40 rows), but its
    // first and last rows inside them show the sky, on the scene's own and
    // inside the cross-fade; and nothing is left held to the band after.
    RibbonsScene& ribbons = buildScene<RibbonsScene>(ribbonsRow);
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    scene.next = &ribbons;
    for (float beat : {4.0f, 33.0f}) {
        SCOPED_TRACE(beat);
        const auto pixels = frameAt(scene, beat);
        for (int row : {40, 439}) {
            int dark = 0;
            for (int x = 0; x < 640; ++x)
                dark += pixels[(row * 640 + x) * 3 + 2] == 0;
            EXPECT_EQ(dark, 0) << "row " << row;
        }
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    }
}

TEST_F(AflowersSceneTest, PlaysOnWithoutItsDataFiles)
{
    ownData();
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    EXPECT_EQ(scene.ribbons.strands.size(), 16u);
    EXPECT_EQ(scene.ribbons.strands[0]->path.pointCount(), 0);
    for (float beat : {0.5f, 10.0f, 33.0f})
        EXPECT_EQ(playBeat(scene, beat), 0);
    EXPECT_EQ(play(scene, scene.duration + 0.001f), 1);
}
