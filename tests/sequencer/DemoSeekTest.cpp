// Moving about the show in author mode: a seek lands the next frame on the
// requested show time in the scene that plays then, with the music moved to
// the same place; a pause holds picture and music together. Without a sound
// device the music keeps its position on the wall clock, in 46 ms steps.
#include "platform/AudioDriver.h"
#include "sequencer/TestScenes.h"
#include "support/TestMusic.h"

#include "mp3writer/Mp3Writer.h"
#include "resources/ResourceManager.h"
#include "support/GLTest.h"

#include <fstream>

using sequencertest::recordingStage;
using sequencertest::sceneAt;

namespace {

// Nine beats a scene, on the capture clock at 20 frames a second.
constexpr float sceneSeconds = 5.0f;
constexpr float frame = 0.05f;
constexpr float timeOffset = -0.01f;  // the switch t: the show runs that far ahead of the music

class DemoSeekTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ASSERT_TRUE(mp3writer::writeFile(folder.path("song.mp3"), mediatest::toneMp3(15.0, {{0.0, 15.0}})));
        std::ofstream(folder.path("demo.cfg")) << "mp3 = \"song.mp3\"\n";
        auto resources = std::make_unique<ResourceManager>(false, false);
        resources->dataDir = folder.path("");
        sequencertest::StageTable stages;
        for (int i = 0; i < 3; ++i)
            stages[static_cast<size_t>(i)] = recordingStage(std::string(1, static_cast<char>('a' + i)), sceneSeconds);
        demo = std::make_unique<Demo>(std::move(resources), sequencertest::timelineOf(stages));
        demo->clock.onFrames = true;
        demo->clock.offset = timeOffset;
        while (demo->loadStage() > 0) {
        }
        ASSERT_TRUE(demo->music && demo->music->hasStream());
        frameAt = 0.0f;
        demo->update(frameAt);
    }

    // The show time the next frame gives its scene.
    float nextFrame()
    {
        frameAt += frame;
        demo->update(frameAt);
        return sceneAt(*demo, demo->current).times.back();
    }

    // Where the music is against where it should be for `showTime`.
    int musicLagMs(float showTime) const
    {
        return static_cast<int>((showTime - timeOffset) * 1000.0f) - demo->music->rawPositionMs();
    }

    mediatest::ScratchFolder folder;
    mediatest::AudioDriver driver{mediatest::noDevice};
    std::unique_ptr<Demo> demo;
    float frameAt = 0.0f;
};

} // namespace

TEST_F(DemoSeekTest, ASeekLandsOnTheBeatInItsSceneWithTheMusicThere)
{
    struct Case {
        float beat;
        int scene;
    };
    // Forward into the last scene, back into the first, to a scene's first
    // beat, and past either end of the show (kept inside it).
    const Case cases[] = {{20.0f, 2}, {4.0f, 0}, {9.0f, 1}, {-3.0f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.beat);
        const float target = demo->timeOfBeat(c.beat);
        demo->seek(target);
        const float shown = nextFrame();
        EXPECT_EQ(demo->current, c.scene);
        EXPECT_NEAR(shown, std::max(target, 0.0f), 1e-4f);
        const int lag = musicLagMs(shown);
        EXPECT_GE(lag, -1);
        EXPECT_LE(lag, 47);
        // And the show goes on from there, a frame at a time.
        EXPECT_NEAR(nextFrame(), shown + frame, 1e-4f);
    }
    demo->seek(100.0f);
    EXPECT_LT(nextFrame(), 3 * sceneSeconds);
    EXPECT_EQ(demo->current, 2);
}

TEST_F(DemoSeekTest, APauseHoldsPictureAndMusicAndResumesWhereItStopped)
{
    demo->seek(demo->timeOfBeat(12.0f));
    const float held = nextFrame();
    demo->setPaused(true);
    const int musicHeld = demo->music->rawPositionMs();
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(nextFrame(), held, 1e-4f);
    EXPECT_EQ(demo->music->rawPositionMs(), musicHeld);

    // A seek while paused moves both, and they stay there.
    demo->seek(demo->timeOfBeat(3.0f));
    EXPECT_NEAR(nextFrame(), demo->timeOfBeat(3.0f), 1e-4f);
    EXPECT_NEAR(nextFrame(), demo->timeOfBeat(3.0f), 1e-4f);
    EXPECT_EQ(demo->current, 0);
    EXPECT_NEAR(musicLagMs(demo->timeOfBeat(3.0f)), 0, 1);

    demo->setPaused(false);
    EXPECT_NEAR(nextFrame(), demo->timeOfBeat(3.0f), 1e-4f);
    EXPECT_NEAR(nextFrame(), demo->timeOfBeat(3.0f) + frame, 1e-4f);
}
