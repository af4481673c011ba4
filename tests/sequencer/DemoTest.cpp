#include "sequencer/TestScenes.h"

#include "scenes/opening/ScriptScene.h"
#include "resources/ResourceManager.h"
#include "scenes/ShowTimeline.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <memory>

using sequencertest::RecordingScene;
using sequencertest::recordingStage;
using sequencertest::sceneAt;
using sequencertest::StageTable;
using sequencertest::timelineOf;

namespace {

constexpr float framePeriod = 1.0f / 20;

class DemoTest : public GLTest {
protected:
    // A demo on the capture clock, without music, with every stage loaded.
    std::unique_ptr<Demo> loadedDemo(const StageTable& stages,
                                     std::unique_ptr<ResourceManager> resources = nullptr,
                                     SceneLinker links = nullptr)
    {
        if (!resources)
            resources = std::make_unique<ResourceManager>(false, false);
        auto demo = std::make_unique<Demo>(std::move(resources), timelineOf(stages), std::move(links));
        demo->clock.onFrames = true;
        demo->musicPending = false;
        while (demo->loadStage() > 0) {
        }
        return demo;
    }

    // Frames at the capture clock until the show ends or `limit` frames
    // have run; the frame on which update reported the end, or -1.
    static int runFrames(Demo& demo, int first, int limit)
    {
        for (int n = first; n < limit; ++n)
            if (demo.update(n * framePeriod) == 1)
                return n;
        return -1;
    }

    // State a careless scene leaves behind; none of it may reach the bars.
    static void leaveCarelessState()
    {
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_NEVER);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
};

} // namespace

TEST_F(DemoTest, LoadingCountsItsOwnStagesPastStagesThatBuildNothing)
{
    StageTable stages;
    // Stage 0 is empty: the list is still empty after it, and loading goes on.
    stages[1] = recordingStage("one", 2.0f);
    stages[4] = {[](ResourceManager&, RunState&) { return std::unique_ptr<Scene>(); }, 4.0f};
    stages[5] = recordingStage("five", 3.0f);
    stages[8] = recordingStage("eight", 1.5f);
    Demo demo(std::make_unique<ResourceManager>(false, false), timelineOf(stages));
    demo.musicPending = false;

    std::vector<int> left;
    for (int call = 0; call < 12; ++call)
        left.push_back(demo.loadStage());
    EXPECT_EQ(left, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0}));
    ASSERT_EQ(demo.scenes.size(), 3u);
    const struct {
        const char* name;
        float start;
    } expected[] = {{"one", 0.0f}, {"five", 6.0f}, {"eight", 9.0f}};
    for (int slot = 0; slot < 3; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(sceneAt(demo, slot).name, expected[slot].name);
        EXPECT_FLOAT_EQ(sceneAt(demo, slot).start, expected[slot].start);
    }
    // The stage that built nothing keeps its four seconds on the timeline.
    EXPECT_FLOAT_EQ(demo.accumulatedStart, 10.5f);
    EXPECT_EQ(demo.music, nullptr); // no music for a run without it
}

TEST_F(DemoTest, CaptureClockStepsOneFramePeriodAndCarriesTheShowTimeOverASwitch)
{
    StageTable stages;
    stages[0] = recordingStage("first", 1.0f);
    stages[1] = recordingStage("second", 0.5f);
    auto demo = loadedDemo(stages);

    testing::internal::CaptureStdout();
    const int lastFrame = runFrames(*demo, 0, 100);
    const std::string printed = testing::internal::GetCapturedStdout();

    RecordingScene& first = sceneAt(*demo, 0);
    RecordingScene& second = sceneAt(*demo, 1);
    // First: show time n / 20 - 0.01 until its local time reaches 1 s
    // (frame 21 at 1.04 s); it is told nothing more after that.
    ASSERT_EQ(first.times.size(), 22u);
    for (size_t n = 0; n < first.times.size(); ++n)
        EXPECT_NEAR(first.times[n], n * framePeriod - 0.01f, 1e-5) << n;
    // Second goes on from there, one frame period later, and ends the show
    // on the frame its local time reaches 0.5 s (show time 1.54 s).
    ASSERT_EQ(second.times.size(), 10u);
    EXPECT_NEAR(second.times.front() - first.times.back(), framePeriod, 1e-5);
    for (size_t n = 1; n < second.times.size(); ++n)
        EXPECT_NEAR(second.times[n] - second.times[n - 1], framePeriod, 1e-5) << n;
    EXPECT_EQ(lastFrame, 31);
    EXPECT_EQ(printed, "new scene start - 1\n");
    // Over is over.
    EXPECT_EQ(demo->update(2.0f), 1);
    EXPECT_EQ(second.times.size(), 10u);
}

TEST_F(DemoTest, KeyASkipsAtTheNextFrameAndTheNextSceneStartsAtItsBeginning)
{
    StageTable stages;
    stages[0] = recordingStage("first", 10.0f);
    stages[1] = recordingStage("second", 10.0f);
    stages[2] = recordingStage("last", 10.0f);
    auto demo = loadedDemo(stages);
    RecordingScene& first = sceneAt(*demo, 0);
    RecordingScene& second = sceneAt(*demo, 1);
    RecordingScene& last = sceneAt(*demo, 2);

    testing::internal::CaptureStdout();
    EXPECT_EQ(runFrames(*demo, 0, 5), -1);
    demo->onKey('a', 0, 0);
    EXPECT_EQ(first.keys, (std::vector<std::vector<int>>{{'a', 0, 0}}));
    // The skipped scene still draws the frame on which it ends.
    EXPECT_EQ(demo->update(5 * framePeriod), 0);
    EXPECT_EQ(first.times.size(), 6u);
    EXPECT_TRUE(second.times.empty());
    // Skipped 9.7 s early, the second scene does not wait for its start.
    EXPECT_EQ(runFrames(*demo, 6, 8), -1);
    ASSERT_EQ(second.times.size(), 2u);
    EXPECT_NEAR(second.times[0] - second.start, framePeriod, 1e-5);
    // The request was used up: the second scene keeps running.
    EXPECT_EQ(runFrames(*demo, 8, 10), -1);
    EXPECT_EQ(second.times.size(), 4u);

    demo->onKey('a', 0, 0);
    EXPECT_EQ(demo->update(10 * framePeriod), 0);
    demo->onKey('x', 0, 0);
    demo->onKey('a', 0, 0);
    EXPECT_EQ(last.keys, (std::vector<std::vector<int>>{{'x', 0, 0}, {'a', 0, 0}}));
    // "a" in the last scene ends the show.
    EXPECT_EQ(demo->update(12 * framePeriod), 1);
    EXPECT_EQ(last.times.size(), 1u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "new scene start - 1\nnew scene start - 2\n");
}

TEST_F(DemoTest, SkipToStartsAtThatSceneAndIgnoresIndicesOutsideTheList)
{
    const struct {
        int index;
        int runs;              // the scene that gets the first frame
        float firstSceneTime;  // the time it is given
    } cases[] = {
        {-1, 0, -0.01f}, {0, 0, -0.01f}, {2, 2, 4.99f}, {3, 0, -0.01f}, {7, 0, -0.01f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        StageTable stages;
        stages[0] = recordingStage("a", 2.0f);
        stages[1] = recordingStage("b", 3.0f);
        stages[2] = recordingStage("c", 4.0f);
        auto demo = loadedDemo(stages);
        demo->skipTo(c.index);
        EXPECT_EQ(demo->current, c.runs);
        EXPECT_EQ(demo->update(0.0f), 0);
        RecordingScene& running = sceneAt(*demo, c.runs);
        ASSERT_EQ(running.times.size(), 1u);
        // Show time: the scene's start plus the time offset.
        EXPECT_NEAR(running.times[0], c.firstSceneTime, 1e-5);
        EXPECT_NEAR(running.times[0] - running.start, -0.01f, 1e-5);
    }
}

TEST_F(DemoTest, AnEmptyListEndsTheShowAtOnceWithoutDrawing)
{
    auto demo = loadedDemo(StageTable{});
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    demo->skipTo(0);
    EXPECT_EQ(demo->update(0.0f), 1);
    EXPECT_EQ(demo->onKey('a', 0, 0), 0);
    EXPECT_EQ(testsupport::readPixel(320, 10)[0], 255); // no letterbox either
    EXPECT_EQ(attributePushesLeft(), 0);
}

TEST_F(DemoTest, KeyEffectsAndLetterboxGoOverTheSceneWhateverStateItLeft)
{
    auto resources = std::make_unique<ResourceManager>(false, false);
    auto* accents = resources->registerObject(
        keyEffectsKey, std::make_unique<RecordingScene>(nullptr, "accents", 0.0f));
    accents->draw = [](float) {
        sequencertest::fillScreen(1, 0, 0);
        leaveCarelessState();
    };
    StageTable stages;
    stages[0] = {[](ResourceManager& r, RunState&) -> std::unique_ptr<Scene> {
                     auto scene = std::make_unique<RecordingScene>(&r, "scene", 10.0f);
                     scene->draw = [](float) { sequencertest::fillScreen(1, 1, 1); };
                     return scene;
                 },
                 10.0f};
    auto demo = loadedDemo(stages, std::move(resources));
    EXPECT_EQ(demo->keyEffects, accents);

    EXPECT_EQ(demo->update(0.5f), 0);
    // The accents get the frame-loop time, the scene the show time.
    EXPECT_EQ(accents->times, std::vector<float>{0.5f});
    EXPECT_NEAR(sceneAt(*demo, 0).times[0], 0.49f, 1e-6);
    const struct {
        int y;
        int red;
    } rows[] = {{0, 0}, {39, 0}, {40, 255}, {240, 255}, {439, 255}, {440, 0}, {479, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.y);
        for (int x : {0, 320, 639}) {
            const auto pixel = testsupport::readPixel(x, row.y);
            EXPECT_EQ(pixel[0], row.red) << x;
            EXPECT_EQ(pixel[1], 0) << x;
            EXPECT_EQ(pixel[2], 0) << x;
        }
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);

    demo->onKey('q', 0, 0);
    EXPECT_EQ(accents->keys, (std::vector<std::vector<int>>{{'q', 0, 0}}));
}

TEST_F(DemoTest, EveryFrameOfEverySceneStartsFromTheStateBeforeTheShow)
{
    // Each frame records whether fog is on, then switches it on and pushes
    // an attribute group it never pops.
    std::vector<std::vector<bool>> fogSeen(3);
    auto fogScene = [&fogSeen](int index) {
        return sequencertest::TestStage{[&fogSeen, index](ResourceManager& r, RunState&) -> std::unique_ptr<Scene> {
                                            auto scene = std::make_unique<RecordingScene>(&r, "scene", 0.1f);
                                            scene->draw = [&fogSeen, index](float) {
                                                fogSeen[index].push_back(glIsEnabled(GL_FOG));
                                                glPushAttrib(GL_ENABLE_BIT);
                                                glEnable(GL_FOG);
                                            };
                                            return scene;
                                        },
                                        0.1f};
    };
    StageTable stages;
    stages[0] = fogScene(0);
    stages[3] = fogScene(1);
    stages[8] = fogScene(2); // the closing scene, too
    auto demo = loadedDemo(stages);
    glDisable(GL_FOG);

    testing::internal::CaptureStdout();
    const int lastFrame = runFrames(*demo, 0, 20);
    testing::internal::GetCapturedStdout();
    ASSERT_GT(lastFrame, 6);
    for (int scene = 0; scene < 3; ++scene) {
        SCOPED_TRACE(scene);
        ASSERT_GE(fogSeen[scene].size(), 2u);
        for (bool fog : fogSeen[scene])
            EXPECT_FALSE(fog);
    }
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(attributePushesLeft(), 0);
}

TEST_F(DemoTest, DestructionDeletesTheScenesInOrderBeforeTheManager)
{
    std::vector<std::string> deleted;
    struct LoggingManager : ResourceManager {
        explicit LoggingManager(std::vector<std::string>& log) : ResourceManager(false, false), log(log) {}
        ~LoggingManager() override { log.push_back("manager"); }
        std::vector<std::string>& log;
    };
    StageTable stages;
    stages[0] = recordingStage("a", 1.0f, &deleted);
    stages[6] = recordingStage("b", 1.0f, &deleted);
    auto demo = loadedDemo(stages, std::make_unique<LoggingManager>(deleted));
    demo->update(0.0f);
    demo.reset();
    EXPECT_EQ(deleted, (std::vector<std::string>{"a", "b", "manager"}));
}

// The show's own opening followed by a recording stand-in for the flowers;
// the later scenes stay out, so these tests do not depend on which exist.
StageTable openingAndFlowers()
{
    const TimelineRow& opening = showTimeline()[0];
    StageTable stages;
    stages[0] = {opening.build, opening.lengthBeats * 60.0f / 108.0f};
    stages[1] = recordingStage("flowers", 1.0f);
    return stages;
}

TEST_F(DemoTest, TheOpeningPlaysIntroScriptAndKeepsTheSceneAfterIt)
{
    auto resources = std::make_unique<ResourceManager>(false, false);
    resources->dataDir = GLINT_SOURCE_DIR "/data/";
    StageTable stages = openingAndFlowers();
    testing::internal::CaptureStdout();
    auto demo = loadedDemo(stages, std::move(resources), linkShowScenes);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(demo->scenes.size(), 2u);
    auto* opening = dynamic_cast<ScriptScene*>(demo->scenes[0].get());
    ASSERT_NE(opening, nullptr);
    // The script's length, less its five closing beats, is the opening's
    // row of the timeline.
    EXPECT_EQ(opening->timeline->length - 5.0f, showTimeline()[0].lengthBeats);
    EXPECT_EQ(opening->followingScene, demo->scenes[1].get());
}

TEST_F(DemoTest, AMissingOpeningScriptKeepsTheTimeline)
{
    // Without its script the opening plays nothing for its beats; the scenes
    // after it keep their starts, in step with the music.
    StageTable stages = openingAndFlowers();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto demo = loadedDemo(stages);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(demo->scenes.size(), 2u);
    EXPECT_NEAR(demo->scenes[1]->start, demo->timeOfBeat(showTimeline()[0].lengthBeats), 1e-4);
}
