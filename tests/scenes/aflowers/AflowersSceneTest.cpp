#include "scenes/SceneFixture.h"

#include "effects/CopyScreen.h"
#include "scenes/aflowers/AflowersScene.h"
#include "scenes/tunnel/RibbonsScene.h"

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

TEST_F(AflowersSceneTest, FadesInFromBlack)
{
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    EXPECT_EQ(brightest(frameAt(scene, 0.0f)), 0);
    EXPECT_GT(brightest(frameAt(scene, 1.0f)), 60);
}

TEST_F(AflowersSceneTest, OrbitsWithThePictureFromBeatEightThroughBeatTwenty)
{
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    // A camera cut changes the whole picture; a hundredth of a beat on the
    // same camera changes next to nothing.
    const auto before = frameAt(scene, 7.99f);
    const auto first = frameAt(scene, 8.0f);
    const auto next = frameAt(scene, 8.01f);
    EXPECT_GT(difference(before, first), 8 * difference(first, next));
    // (Beat 20 itself is the edge, and at the scene's show time it rounds
    // to either side.)
    const auto last = frameAt(scene, 19.99f);
    const auto after = frameAt(scene, 20.01f);
    const auto later = frameAt(scene, 20.02f);
    EXPECT_GT(difference(last, after), 8 * difference(after, later));
}

TEST_F(AflowersSceneTest, CrossFadeEndsOnTheNextScenesOwnFrame)
{
    RibbonsScene& ribbons = buildScene<RibbonsScene>(ribbonsRow);
    AflowersScene& scene = buildScene<AflowersScene>(aflowersRow);
    const auto alone = frameAt(scene, 33.0f);
    scene.next = &ribbons;
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
