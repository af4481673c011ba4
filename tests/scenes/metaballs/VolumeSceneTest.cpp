#include "scenes/SceneFixture.h"
#include "effects/CopyScreen.h"
#include "effects/KeyEffects.h"
#include "effects/SharedKeys.h"
#include "scenes/metaballs/VolumeScene.h"

#include <gtest/gtest.h>

namespace {

constexpr int volumeRow = 3;

using testsupport::colourKey;
using testsupport::readPixel;

// The scene's movie: layer 1 holds the fade alpha, commands fire on frames.
swfwriter::Animation volumeMovie(double fadeAlpha, std::vector<swfwriter::AnimationCommand> commands)
{
    swfwriter::Animation movie;
    movie.frames = 97;
    swfwriter::AnimationLayer fade;
    fade.depth = 1;
    fade.keys = {colourKey(0, 0, 0, 0, fadeAlpha)};
    movie.layers.push_back(fade);
    movie.commands = std::move(commands);
    return movie;
}

// On a folder of its own: the tests write the scene's movie themselves.
class VolumeSceneTest : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        data = &ownData({"k32b.jpg", "volume.3ds"});
    }

    VolumeScene& sceneWith(const swfwriter::Animation& movie)
    {
        data->writeMovie("alphametaballs.swf", movie);
        return buildScene<VolumeScene>(volumeRow);
    }

    VolumeDirection& direction() { return run.get<VolumeDirection>(); }

    testsupport::SceneData* data = nullptr;
};

} // namespace

TEST_F(VolumeSceneTest, FirstBeatGrowsThePreviousFrameAndFadesItOut)
{
    VolumeScene& scene = sceneWith(volumeMovie(0.0, {{0, "setCamera,lastCamera"}}));
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // At beat 0 the picture covers the whole screen at full opacity.
    play(scene, 0.0f);
    for (auto [x, y] : {std::pair{320, 240}, std::pair{2, 2}, std::pair{637, 477}}) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        const auto pixel = readPixel(x, y);
        EXPECT_EQ(pixel[1], 255);
        EXPECT_LT(pixel[0], 8);
    }
    // Half way through the beat the picture is half there, and it is gone
    // from the frame after the first beat.
    const int halfWay = readPixel(2, 2)[1];
    playBeat(scene, 0.5f);
    EXPECT_NEAR(readPixel(2, 2)[1], 128, 40) << "was " << halfWay;
    playBeat(scene, 1.0f);
    EXPECT_LT(readPixel(2, 2)[1], 40);
}

TEST_F(VolumeSceneTest, FadeDarkensBelowFullAlphaAndStopsAtIt)
{
    struct Row {
        int alphaSteps; // of 256, as the movie stores colours
        bool dark;
    };
    for (const Row& row : {Row{254, true}, Row{255, false}, Row{0, false}}) {
        SCOPED_TRACE(row.alphaSteps);
        VolumeScene& scene = sceneWith(volumeMovie(row.alphaSteps / 256.0, {{0, "setCamera,lastCamera"}}));
        playBeat(scene, 2.0f);
        // The top of the background gradient is (0.05, 0, 0.2).
        const auto top = readPixel(320, 470);
        if (row.dark)
            EXPECT_LT(top[2], 4);
        else
            EXPECT_GT(top[2], 40);
    }
}

TEST_F(VolumeSceneTest, CommandsPickTheCameraAndMorphOnTheSceneClock)
{
    VolumeScene& scene = sceneWith(volumeMovie(0.0, {{0, "setCamera,upperCorner"}, {0, "doK,0.5"}}));
    const VolumeMorph& morph = direction().morph;
    play(scene, 0.0f);
    EXPECT_EQ(direction().camera, "upperCorner");
    ASSERT_TRUE(morph.active);
    EXPECT_FLOAT_EQ(morph.progress, 0.0f);
    // A tenth of a second a frame: morphed at 0.2 ... 1.0, over at 1.2.
    for (int frame = 1; frame <= 5; ++frame) {
        play(scene, 0.1f * frame);
        SCOPED_TRACE(frame);
        EXPECT_TRUE(morph.active);
        EXPECT_NEAR(morph.progress, 0.2f * frame, 1e-4f);
    }
    play(scene, 0.6f);
    EXPECT_FALSE(morph.active);
}

TEST_F(VolumeSceneTest, TheScriptPlaysTwoFramesABeat)
{
    // A cut on frame 20 of the movie falls on the scene's tenth beat.
    VolumeScene& scene = sceneWith(volumeMovie(0.0, {{20, "setCamera,upperCorner"}}));
    playBeat(scene, 0.0f);
    playBeat(scene, 9.9f);
    EXPECT_NE(direction().camera, "upperCorner");
    playBeat(scene, 10.1f);
    EXPECT_EQ(direction().camera, "upperCorner");
}

TEST_F(VolumeSceneTest, ACaptureTakesTheLastWholeFrameNotAHalfDrawnCorner)
{
    VolumeScene& scene = sceneWith(volumeMovie(0.0, {{4, "capture"}}));
    playBeat(scene, 1.9f);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);   // the last frame, as the screen holds it
    playBeat(scene, 2.0f);
    CopyScreen* afterimage = resources().get(shared::copyScreen640x480b);
    afterimage->bind();
    const auto captured = readTexture(afterimage->target);
    // The frame is drawn at a quarter size in the lower left corner first.
    for (size_t at : {size_t(10 * 640 + 10), size_t(470 * 640 + 630)}) {
        SCOPED_TRACE(at);
        EXPECT_EQ(captured[3 * at + 1], 255);
    }
}

TEST_F(VolumeSceneTest, AccentsAreLeftToTheSequencersClock)
{
    auto* keys = static_cast<KeyEffects*>(resources().get(shared::keyEffects));
    ASSERT_NE(keys, nullptr);
    VolumeScene& scene = sceneWith(volumeMovie(0.0, {}));
    keys->update(scene.start + 10.0f);
    keys->darken(1.0f, 1.0f);
    // The scene's clock (10 s into it) is far behind the show's: run on it,
    // the accent would swing back up or be drawn twice.
    play(scene, 10.0f);
    EXPECT_FLOAT_EQ(keys->colourFade->intensity, 1.0f);
}

TEST_F(VolumeSceneTest, MissingDataIsReportedAndTheSceneStillPlaysItsLength)
{
    ownData();   // without the scene's files
    VolumeScene& scene = buildScene<VolumeScene>(volumeRow);
    EXPECT_NE(loadNotes.find("cannot find k32b.jpg"), std::string::npos) << loadNotes;
    EXPECT_NE(loadNotes.find("alphametaballs.swf"), std::string::npos) << loadNotes;

    EXPECT_EQ(play(scene, 0.0f), 0);
    EXPECT_EQ(playBeat(scene, 47.9f), 0);
    EXPECT_EQ(play(scene, scene.duration + 0.001f), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    scene.onKey('w', 0, 0);
    EXPECT_FLOAT_EQ(scene.cloud->volume.tuning.threshold, 3.1f);
}
