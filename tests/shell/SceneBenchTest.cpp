#include "sequencer/TestScenes.h"

#include "shell/GLWindow.h"
#include "shell/SceneBench.h"
#include "shell/ShellState.h"
#include "shell/ShowRun.h"
#include "shell/ShowSettings.h"
#include "support/FakeWindowSystem.h"
#include "support/GLTest.h"
#include "support/MessageRecorder.h"

#include <epoxy/gl.h>

TEST(SceneBenchTest, MedianAndNearestRankPercentileAfterTheWarmUp)
{
    const struct {
        const char* name;
        std::vector<double> milliseconds;
        int warmUp;
        double median, percentile95;
    } cases[] = {
        {"odd count", {5, 1, 3}, 0, 3, 5},
        {"even count", {4, 1, 3, 2}, 0, 2.5, 4},
        {"warm-up left out", {100, 90, 1, 2, 3}, 2, 2, 3},
        {"95th of 20 is the 19th", {20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 0, 10.5, 19},
        {"95th of 21 is the 20th", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}, 0, 11, 20},
        {"one frame", {7}, 0, 7, 7},
        {"nothing left", {7, 8}, 5, 0, 0},
        {"nothing at all", {}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const shell::FrameStats stats = shell::frameStats(c.milliseconds, c.warmUp);
        EXPECT_DOUBLE_EQ(stats.median, c.median);
        EXPECT_DOUBLE_EQ(stats.percentile95, c.percentile95);
    }
    EXPECT_EQ(shell::warmUpFrames(100), 10);
    EXPECT_EQ(shell::warmUpFrames(9), 0);
}

namespace {

class SceneBenchRunTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        savedSettings = shell::showSettings();
        shell::showSettings() = shell::ShowSettings{};
        shell::showSettings().fullScreen = false;
        shell::shellState() = shell::ShellState{};
        shell::shellState().windowSystem = std::make_unique<testsupport::FakeWindowSystem>(log);
    }
    void TearDown() override
    {
        shell::killGLWindow();
        shell::showRun() = shell::ShowRun{};
        shell::shellState() = shell::ShellState{};
        shell::showSettings() = savedSettings;
    }

    testsupport::StepLog log;
    testsupport::MessageRecorder messages;
    shell::ShowSettings savedSettings;
};

} // namespace

TEST_F(SceneBenchRunTest, EverySceneRunsFromFiveMomentsOfItsLengthOnTheCaptureClock)
{
    shell::showSettings().startScene = 1; // a bench times every scene anyway
    shell::showSettings().captureFrameRate = 10;
    shell::ProgramOptions options;
    options.benchFrames = 4;
    shell::installShow(options);
    sequencertest::StageTable stages;
    stages[2] = sequencertest::recordingStage("first", 1.0f);
    stages[5] = sequencertest::recordingStage("second", 0.1f); // shorter than the run: timed all the same
    shell::showRun().timeline = sequencertest::timelineOf(stages);
    ASSERT_TRUE(shell::createGLWindow(".glint.", 640, 480, 32, false));
    Demo& demo = *shell::showRun().demo;

    testing::internal::CaptureStdout();
    EXPECT_EQ(shell::runSceneBench(), 0);
    const std::string report = testing::internal::GetCapturedStdout();

    for (int slot = 0; slot < 2; ++slot) {
        SCOPED_TRACE(slot);
        const sequencertest::RecordingScene& scene = sequencertest::sceneAt(demo, slot);
        ASSERT_EQ(scene.times.size(), 20u);
        for (size_t moment = 0; moment < 5; ++moment)
            for (size_t n = 0; n < 4; ++n)
                EXPECT_NEAR(scene.times[moment * 4 + n],
                            scene.start - 0.01f + scene.duration * moment / 5.0f + n * 0.1f, 1e-5);
    }
    EXPECT_EQ(attributePushesLeft(), 0);

    EXPECT_EQ(report.rfind("bench: 4 frames at each of 5 moments of every scene (its start, 1/5 ... 4/5 of its length) at 10 fps, "
                          "the first 0 of each left out\n", 0), 0u)
        << report;
    EXPECT_NE(report.find("\n    0  sequencertest::RecordingScene"), std::string::npos) << report;
    EXPECT_NE(report.find("\n    1  sequencertest::RecordingScene"), std::string::npos) << report;
    EXPECT_NE(report.find("\nloading stage 9 "), std::string::npos) << report;
    EXPECT_EQ(report.find("loading stage 10"), std::string::npos) << report;
    EXPECT_NE(report.find("\nloading total "), std::string::npos) << report;
}
