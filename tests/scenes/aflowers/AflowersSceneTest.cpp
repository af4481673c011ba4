#include "scenes/ShowPlacement.h"
#include "scenes/SceneFrames.h"

#include "effects/CopyScreen.h"
#include "resources/TempDirectory.h"
#include "scenes/aflowers/AflowersScene.h"
#include "scenes/tunnel/RibbonsScene.h"

using AflowersSceneTest = SceneFrameTest;

namespace {

std::vector<unsigned char> frameAt(AflowersScene& scene, float beat)
{
    scene.update(scene.start + scene.timeOfBeat(beat));
    return SceneFrameTest::readScreen();
}

} // namespace

TEST_F(AflowersSceneTest, FadesInFromBlack)
{
    AflowersScene scene(resources.get());
    placeAsInShow(scene, 1);
    scene.start = 30.0f;
    EXPECT_EQ(brightest(frameAt(scene, 0.0f)), 0);
    EXPECT_GT(brightest(frameAt(scene, 1.0f)), 60);
}

TEST_F(AflowersSceneTest, OrbitsWithThePictureFromBeatEightThroughBeatTwenty)
{
    AflowersScene scene(resources.get());
    placeAsInShow(scene, 1);
    // A camera cut changes the whole picture; a hundredth of a beat on the
    // same camera changes next to nothing.
    const auto before = frameAt(scene, 7.99f);
    const auto first = frameAt(scene, 8.0f);
    const auto next = frameAt(scene, 8.01f);
    EXPECT_GT(difference(before, first), 8 * difference(first, next));
    const auto last = frameAt(scene, 20.0f);
    const auto after = frameAt(scene, 20.01f);
    const auto later = frameAt(scene, 20.02f);
    EXPECT_GT(difference(last, after), 8 * difference(after, later));
}

TEST_F(AflowersSceneTest, CrossFadeEndsOnTheNextScenesOwnFrame)
{
    RibbonsScene ribbons(resources.get());
    placeAsInShow(ribbons, 2);
    AflowersScene scene(resources.get());
    placeAsInShow(scene, 1);
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
    testsupport::TempDirectory empty;
    empty.makeCurrent();
    ResourceManager bare(false, true);
    bare.setObjectFactory(createSharedObject);
    AflowersScene scene(&bare);
    placeAsInShow(scene, 1);
    EXPECT_EQ(scene.ribbons.strands.size(), 16u);
    EXPECT_EQ(scene.ribbons.strands[0]->path.pointCount(), 0);
    for (float beat : {0.5f, 10.0f, 33.0f})
        EXPECT_EQ(scene.update(scene.timeOfBeat(beat)), 0);
    EXPECT_EQ(scene.update(scene.timeOfBeat(34.0f)), 1);
}
