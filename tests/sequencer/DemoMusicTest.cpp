// The sequencer with its music: "demo.cfg" names the MP3, the last loading
// stage opens it paused, the first frame starts it, and a show started at a
// later scene takes the scene clock from where the music really plays.
// Without a sound device the music keeps time on the wall clock.
#include "platform/AudioDriver.h"
#include "support/TestMusic.h"
#include "sequencer/TestScenes.h"

#include "mp3writer/Mp3Writer.h"
#include "platform/Clock.h"
#include "resources/ResourceManager.h"
#include "support/GLTest.h"
#include "support/MessageRecorder.h"

#include <fstream>

using sequencertest::recordingStage;
using sequencertest::sceneAt;

namespace {

class DemoMusicTest : public GLTest {
protected:
    void writeConfig(const std::string& text)
    {
        std::ofstream(folder.path("demo.cfg")) << text;
    }

    // A live demo of three 2-second scenes reading its data from the folder.
    std::unique_ptr<Demo> loadedDemo()
    {
        auto resources = std::make_unique<ResourceManager>(false, false);
        resources->dataDir = folder.path("");
        sequencertest::StageTable stages;
        stages[0] = recordingStage("a", 2.0f);
        stages[1] = recordingStage("b", 2.0f);
        stages[2] = recordingStage("c", 2.0f);
        auto demo = std::make_unique<Demo>(std::move(resources), sequencertest::timelineOf(stages));
        while (demo->loadStage() > 0) {
        }
        return demo;
    }

    mediatest::ScratchFolder folder;
    mediatest::AudioDriver driver{mediatest::noDevice};
    testsupport::MessageRecorder messages;
};

} // namespace

TEST_F(DemoMusicTest, AShowStartedAtALaterSceneStartsTheMusicThereAndFollowsIt)
{
    ASSERT_TRUE(mp3writer::writeFile(folder.path("song.mp3"), mediatest::toneMp3(6.0, {{0.0, 6.0}})));
    writeConfig("# the show's music\nmp3 = \"song.mp3\"\n");
    auto demo = loadedDemo();
    ASSERT_NE(demo->music, nullptr);
    ASSERT_TRUE(demo->music->hasStream());
    EXPECT_EQ(demo->music->rawPositionMs(), 0);

    demo->skipTo(2);
    EXPECT_NEAR(demo->clock.offset, 3.99f, 1e-5);
    EXPECT_EQ(demo->update(0.0f), 0);
    EXPECT_FALSE(demo->musicPending);
    // The music plays from scene 2's start, and the scene's time begins
    // there (plus the offset), a buffer step or so later.
    EXPECT_GE(demo->music->rawPositionMs(), 4000);
    const float firstLocal = sceneAt(*demo, 2).times.at(0) - 4.0f;
    EXPECT_GE(firstLocal, -0.02f);
    EXPECT_LT(firstLocal, 0.25f);

    // Live: the scene clock runs with the performance counter.
    platform::sleepMilliseconds(100);
    demo->update(0.0f);
    const float advanced = sceneAt(*demo, 2).times.at(1) - sceneAt(*demo, 2).times.at(0);
    EXPECT_GE(advanced, 0.09f);
    EXPECT_LT(advanced, 0.5f);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(DemoMusicTest, MusicThatEndsBeforeTheStartSceneLeavesTheSceneClockWhereTheMusicWouldHaveBeen)
{
    // Three seconds of music for a six-second show: scene 2 starts at 4 s,
    // after the music's end, where its position would stand still.
    ASSERT_TRUE(mp3writer::writeFile(folder.path("song.mp3"), mediatest::toneMp3(3.0, {{0.0, 3.0}})));
    writeConfig("mp3 = \"song.mp3\"\n");
    testing::internal::CaptureStderr();
    auto demo = loadedDemo();
    const std::string notes = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(demo->music->hasStream());
    EXPECT_NE(notes.find(folder.path("song.mp3") + " lasts 3.0 s, the show 6.0 s"), std::string::npos) << notes;

    demo->skipTo(2);
    EXPECT_EQ(demo->update(0.0f), 0);
    const float firstLocal = sceneAt(*demo, 2).times.at(0) - 4.0f;
    EXPECT_NEAR(firstLocal, -0.01f, 0.05f);
}

TEST_F(DemoMusicTest, WithoutMusicTheShowRunsAndAStartAtALaterSceneDoesNotWait)
{
    const struct {
        const char* name;
        const char* config;            // null: no demo.cfg at all
        const char* message;           // the "Cannot find file" text, or null
    } cases[] = {
        {"no demo.cfg", nullptr, nullptr},
        {"no mp3 key", "tempo = 108\n", nullptr},
        {"missing file", "mp3 = \"gone.mp3\"\n", "gone.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.messages.clear();
        std::remove(folder.path("demo.cfg").c_str());
        if (c.config)
            writeConfig(c.config);
        testing::internal::CaptureStdout();
        auto demo = loadedDemo();
        testing::internal::GetCapturedStdout();
        ASSERT_NE(demo->music, nullptr);
        EXPECT_FALSE(demo->music->hasStream());
        if (c.message) {
            ASSERT_EQ(messages.messages.size(), 1u);
            EXPECT_EQ(messages.messages[0].caption, "Cannot find file");
            EXPECT_EQ(messages.messages[0].text, folder.path(c.message));
        } else {
            EXPECT_TRUE(messages.messages.empty());
        }

        demo->skipTo(1);
        const double before = platform::wallClockMs();
        EXPECT_EQ(demo->update(0.0f), 0);
        EXPECT_LT(platform::wallClockMs() - before, 100.0);
        // The scene clock starts where the music would have been.
        EXPECT_NEAR(sceneAt(*demo, 1).times.at(0) - 2.0f, -0.01f, 0.05f);
    }
}

TEST_F(DemoMusicTest, ARunWithoutMusicNeverReadsTheMusicSettings)
{
    writeConfig("mp3 = \"gone.mp3\"\n");
    auto resources = std::make_unique<ResourceManager>(false, false);
    resources->dataDir = folder.path("");
    Demo demo(std::move(resources), Timeline{});
    demo.musicPending = false;
    while (demo.loadStage() > 0) {
    }
    EXPECT_EQ(demo.music, nullptr);
    EXPECT_TRUE(messages.messages.empty());
}
