#include "scenes/SceneFixture.h"

#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"
#include "resources/TempDirectory.h"
#include "scenes/funksphere/CreditsOverlay.h"
#include "scenes/funksphere/FunkSphereScene.h"

#include <fstream>

using testsupport::readPixel;

namespace {

constexpr int funkSphereRow = 7;

class FunkSphereSceneTest : public SceneFixture {
protected:
    void TearDown() override
    {
        SceneFixture::TearDown();
        CreditsOverlay::creditIndex = 0;
    }

    static int brightness(int x, int y)
    {
        const auto p = readPixel(x, y);
        return p[0] + p[1] + p[2];
    }
};

} // namespace

TEST_F(FunkSphereSceneTest, RibbonsGrowOverTheFirstTenSeconds)
{
    FunkSphereScene& scene = buildScene<FunkSphereScene>(funkSphereRow);
    ASSERT_EQ(scene.ribbonCount(), 48);
    const struct { float b; int ribbons; } rows[] = {
        {0, 0}, {-3, 0}, {0.2f, 0}, {0.21f, 1}, {5, 24}, {9.99f, 47}, {10, 48}, {29, 48},
    };
    for (const auto& row : rows)
        EXPECT_EQ(scene.visibleRibbons(row.b), row.ribbons) << row.b;
    EXPECT_NEAR(scene.duration, 30.0f, 1e-4f);   // 54 beats
}

TEST_F(FunkSphereSceneTest, NoRibbonsForNumRibbonsZeroOrMissing)
{
    for (const char* cfg : {"numRibbons = 0\n", "mt = 0.3\n", "numRibbons = -4\n"}) {
        SCOPED_TRACE(cfg);
        testsupport::TempDirectory folder;
        std::ofstream(folder.path() / "funksphere.cfg") << cfg;
        FunkSphereScene& scene = buildScene<FunkSphereScene>(funkSphereRow, &resourcesReading(folder.path()));
        EXPECT_EQ(scene.ribbonCount(), 0);
        EXPECT_EQ(scene.visibleRibbons(20), 0);
        EXPECT_EQ(play(scene, 12.0f), 0);   // and the scene still plays
    }
}

TEST_F(FunkSphereSceneTest, PlaysItsFramesAndFinishesAfterFiftyFourBeats)
{
    FunkSphereScene& scene = buildScene<FunkSphereScene>(funkSphereRow);
    int finished = 0;
    for (float t = 5.0f; t < 6.0f; t += 0.1f)
        finished |= play(scene, t);
    EXPECT_EQ(finished, 0);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));   // the credits' band is let go
    // The sphere in the middle, the credit's banner across it.
    EXPECT_GT(brightness(320, 240), 60);
    EXPECT_EQ(CreditsOverlay::creditIndex, 0);
    EXPECT_EQ(play(scene, 30.5f), 1);
}

TEST_F(FunkSphereSceneTest, TheCreditsFollowTheAnimationsPhrases)
{
    FunkSphereScene& scene = buildScene<FunkSphereScene>(funkSphereRow);
    const struct { float t; int credit; } rows[] = {{2, 0}, {12, 2}, {22, 3}};
    for (const auto& row : rows) {
        play(scene, row.t);
        EXPECT_EQ(CreditsOverlay::creditIndex, row.credit) << row.t;
    }
}

TEST_F(FunkSphereSceneTest, ThePreviousFrameComesBackWholeAndEnlargedFromTheTopLeft)
{
    testsupport::TempDirectory folder;
    std::ofstream(folder.path() / "funksphere.cfg") << "numRibbons = 0\n";
    ResourceManager& own = resourcesReading(folder.path());
    FunkSphereScene& scene = buildScene<FunkSphereScene>(funkSphereRow, &own);
    // The previous frame: red on the left, green on the right, blue added
    // over the upper half.
    glEnable(GL_SCISSOR_TEST);
    const struct { int x, y; float r, g, b; } quarters[] = {
        {0, 0, 1, 0, 0}, {320, 0, 0, 1, 0}, {0, 240, 1, 0, 1}, {320, 240, 0, 1, 1}};
    for (const auto& q : quarters) {
        glScissor(q.x, q.y, 320, 240);
        glClearColor(q.r, q.g, q.b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    own.get(shared::copyScreen640x480)->copyFromScreen(0, 0, 0, 0, -1, -1);
    FunkSphereScene::drewBefore = true;
    play(scene, 1.0f);
    // Half as large again: the middle of the old frame now lies at (480, 360)
    // from the top left.
    const struct { int x, yFromTop; bool red, green, blue; } samples[] = {
        {470, 10, true, false, true}, {490, 10, false, true, true},
        {10, 350, true, false, true}, {10, 370, true, false, false},
    };
    for (const auto& s : samples) {
        SCOPED_TRACE(testing::Message() << s.x << ", " << s.yFromTop);
        const auto p = readPixel(s.x, 479 - s.yFromTop);
        EXPECT_EQ(p[0] > 200, s.red) << int(p[0]);
        EXPECT_EQ(p[1] > 200, s.green) << int(p[1]);
        EXPECT_EQ(p[2] > 200, s.blue) << int(p[2]);
    }
}
