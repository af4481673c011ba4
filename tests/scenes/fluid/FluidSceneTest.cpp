#include "scenes/SceneFixture.h"
#include "core/ScreenQuad.h"
#include "scenes/fluid/FluidScene.h"

#include <gtest/gtest.h>

namespace {

using testsupport::colourKey;
using testsupport::positionKey;
using testsupport::readPixel;

constexpr int fluidRow = 8;

// On a folder of its own: the tests write the scene's movie themselves.
class FluidSceneTest : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        data = &ownData();
    }

    FluidScene& fluidScene() { return buildScene<FluidScene>(fluidRow); }
    FluidPen& pen() { return run.get<FluidPen>(); }

    testsupport::SceneData* data = nullptr;
};

// The pen at (x, y) of the screen: the script's positions sit 50 below.
void putPen(FluidScene& scene, float x, float y)
{
    scene.penPoint[0] = x;
    scene.penPoint[1] = y + 50.0f;
}

} // namespace

TEST_F(FluidSceneTest, FirstPenSegmentDrawsNothingAndALiftedPenNothingEither)
{
    FluidScene& scene = fluidScene();
    setOrthoBox(0, 640, 480, 0, 0, 10);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    auto litAt = [](int x, int y) { return readPixel(x, 480 - 1 - y)[0]; };

    putPen(scene, 100, 100);
    scene.drawPenSegment();
    EXPECT_EQ(litAt(100, 100), 0);

    putPen(scene, 300, 100);
    scene.drawPenSegment();
    EXPECT_GT(litAt(200, 100), 200) << "the core of the stroke";
    EXPECT_GT(litAt(200, 106), 40) << "its glow";

    pen().down = false;
    putPen(scene, 300, 300);
    scene.drawPenSegment();
    EXPECT_EQ(litAt(300, 200), 0);
    // Set down again, it carries on from where the lifted pen went.
    pen().down = true;
    putPen(scene, 500, 300);
    scene.drawPenSegment();
    EXPECT_GT(litAt(400, 300), 200);
    EXPECT_EQ(litAt(300, 250), 0);
}

TEST_F(FluidSceneTest, EndLineTwiceSetsThePenDownAgainWhileTheScriptRunsOn)
{
    swfwriter::Animation movie;
    movie.frames = 200;
    swfwriter::AnimationLayer penLayer;
    penLayer.depth = 1;
    penLayer.keys = {positionKey(0, 100, 200), positionKey(100, 500, 200)};
    swfwriter::AnimationLayer banner;
    banner.depth = 2;
    banner.keys = {colourKey(0, 1, 1, 1, 0), colourKey(80, 1, 1, 1, 1)};
    movie.layers = {penLayer, banner};
    movie.commands = {{8, "endLine"}, {16, "endLine,ignored"}};
    data->writeMovie("fluid.swf", movie);
    FluidScene& scene = fluidScene();

    struct Row {
        float local;
        bool down;
    };
    float bannerBefore = -1.0f;
    for (const Row& row : {Row{0.0f, true}, Row{0.05f, true}, Row{0.15f, false}, Row{0.25f, true}}) {
        SCOPED_TRACE(row.local);
        play(scene, row.local);
        EXPECT_EQ(pen().down, row.down);
        EXPECT_GT(scene.bannerColour[3], bannerBefore);
        bannerBefore = scene.bannerColour[3];
    }
}

TEST_F(FluidSceneTest, FlowStartsFromTheLastPictureAndTheLastSecondFadesOut)
{
    FluidScene& scene = fluidScene();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(play(scene, 0.0f), 0);
    EXPECT_GT(readPixel(320, 240)[0], 200);
    EXPECT_GT(readPixel(20, 400)[0], 200);

    // Without a new picture, the fluid keeps showing what it was given.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(play(scene, 0.04f), 0);
    EXPECT_GT(readPixel(320, 240)[0], 200);
    EXPECT_LT(readPixel(320, 240)[2], 100);

    EXPECT_EQ(play(scene, scene.duration - 0.05f), 0);
    EXPECT_LT(readPixel(320, 240)[0], 30);
    // (Show times this large lose the last bits of the scene's length.)
    EXPECT_EQ(play(scene, scene.duration + 0.001f), 1);
    EXPECT_EQ(readPixel(320, 240)[0], 0);
}

TEST_F(FluidSceneTest, AMissingBannerIsReportedAndNotDrawn)
{
    FluidScene& scene = fluidScene();
    EXPECT_NE(loadNotes.find("cannot find end.jpg"), std::string::npos) << loadNotes;
    EXPECT_NE(loadNotes.find("fluid.swf"), std::string::npos) << loadNotes;
    scene.bannerColour[3] = 1.0f;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    play(scene, 0.0f);
    // Where the banner would be, only the faint velocity lines.
    EXPECT_LT(readPixel(320, 480 - 100)[1], 80);
}

TEST_F(FluidSceneTest, TheFlowingPictureDimsSlowlyAndNeverBurnsToWhite)
{
    // A grey picture left to the flow for two seconds (forty frames at the
    // capture rate), far from the jet and before its swirl reaches there:
    // it does not grow brighter, and it is still there.
    FluidScene& scene = fluidScene();
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const int before = readPixel(160, 360)[0];
    for (int frame = 0; frame <= 40; ++frame)
        play(scene, frame * 0.05f);
    const int after = readPixel(160, 360)[0];
    EXPECT_LT(after, before);
    EXPECT_GT(after, before / 2);
}
