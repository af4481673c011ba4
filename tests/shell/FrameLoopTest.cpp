// The show initialisation and the frame loop in-process, on the test's GL
// context behind a recording window system, with scenes of the tests' own:
// captures, the capture toggle, stop signals, shots and the loading order.
#include "support/AviProbe.h"
#include "support/TestMusic.h"
#include "sequencer/TestScenes.h"

#include "mp3writer/Mp3Writer.h"
#include "platform/StopSignal.h"
#include "resources/ImageDecoding.h"
#include "shell/FrameLoop.h"
#include "shell/GLWindow.h"
#include "shell/ShellState.h"
#include "shell/ShowRun.h"
#include "shell/ShowSettings.h"
#include "shell/VideoCapture.h"
#include "support/FakeWindowSystem.h"
#include "support/GLTest.h"
#include "support/MessageRecorder.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/resource.h>

using sequencertest::RecordingScene;
using sequencertest::StageTable;
using sequencertest::TestStage;
using sequencertest::fillRect;

namespace {

// A scene of `length` seconds whose upper half is white and lower half
// `colour(local time)`; `onFrame(frame index)` runs after each drawing.
TestStage halvesScene(float length, std::function<std::array<float, 3>(float)> colour,
                      std::function<void(size_t)> onFrame = nullptr)
{
    StageBuilder build = [=](ResourceManager& resources, RunState&) {
        auto scene = std::make_unique<RecordingScene>(&resources, "halves", length);
        RecordingScene* self = scene.get();
        scene->draw = [=](float local) {
            const std::array<float, 3> c = colour(local);
            fillRect(-1, 0, 1, 1, 1, 1, 1);
            fillRect(-1, -1, 1, 0, c[0], c[1], c[2]);
            if (onFrame)
                onFrame(self->times.size() - 1);
        };
        return std::unique_ptr<Scene>(std::move(scene));
    };
    return {build, length};
}

std::array<float, 3> blue(float) { return {0, 0, 1}; }

class FrameLoopTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        savedSettings = shell::showSettings();
        shell::showSettings() = shell::ShowSettings{};
        shell::showSettings().fullScreen = false;
        shell::shellState() = shell::ShellState{};
        auto fake = std::make_unique<testsupport::FakeWindowSystem>(log);
        shell::shellState().windowSystem = std::move(fake);
        platform::clearStopRequest();
        previousFolder = std::filesystem::current_path();
        // The run reads "data/" and writes its video where it runs.
        std::filesystem::current_path(folder.path(""));
    }
    void TearDown() override
    {
        shell::killGLWindow();
        shell::showRun() = shell::ShowRun{};
        shell::shellState() = shell::ShellState{};
        shell::showSettings() = savedSettings;
        std::filesystem::current_path(previousFolder);
        setCaptureAudio("", 0.0);
        platform::clearStopRequest();
    }

    // Installs a run of `options` over `stages` and opens the window, which
    // initialises the show.
    void openShow(const StageTable& stages, const shell::ProgramOptions& options = {})
    {
        shell::installShow(options);
        shell::showRun().timeline = sequencertest::timelineOf(stages);
        shell::showRun().showStartSeconds = 0.0;
        testing::internal::CaptureStdout();
        const bool opened = shell::createGLWindow(".glint.", 640, 480, 32, false);
        loadingOutput = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(opened);
    }

    RecordingScene& scene(int slot) { return sequencertest::sceneAt(*shell::showRun().demo, slot); }

    long presents() const { return std::count(log.begin(), log.end(), "present"); }

    testsupport::StepLog log;
    testsupport::MessageRecorder messages;
    mediatest::ScratchFolder folder;
    std::string loadingOutput;

private:
    shell::ShowSettings savedSettings;
    std::filesystem::path previousFolder;
};

// Red, green, blue of pixel (x, y), y from the top, of an upright picture
// stored with `channels` bytes a pixel.
std::vector<int> pixelAt(const resources::DecodedImage& image, int x, int y)
{
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
    return {p[0], p[1], p[2]};
}

} // namespace

TEST_F(FrameLoopTest, CaptureFromTheStartWritesEveryFrameUprightUntilTheShowEnds)
{
    shell::showSettings().captureAtStart = true;
    shell::showSettings().captureFrameRate = 25;
    StageTable stages;
    stages[0] = halvesScene(0.2f, blue);
    openShow(stages);
    // Not the show (it plays no music when captured from the start) but the
    // shell looks for the music, for the capture's sound track. The key
    // effects look for their combiner programs, which this folder lacks.
    EXPECT_EQ(loadingOutput, "File not found: data/bweffect.rcp\nFile not found: data/inverseeffect.rcp\n"
                             "File not found: data/avg.rcp\nFile not found: data/demo.cfg\n");
    EXPECT_EQ(shell::runFrameLoop(), 0);
    // Local time n / 25 - 0.01 reaches 0.2 at frame 6, the last one drawn.
    EXPECT_EQ(scene(0).times.size(), 7u);
    // One loading frame, nine after each of the ten stages, the black frame,
    // then the show's frames.
    EXPECT_EQ(presents(), 1 + 90 + 1 + 7);
    shell::killGLWindow();

    mediatest::AviContents avi = mediatest::probeVideo(folder.path("quillon.avi"));
    ASSERT_TRUE(avi.readable) << avi.error;
    EXPECT_EQ(avi.frameRateNum, 25);
    EXPECT_EQ(avi.frameRateDen, 1);
    EXPECT_FALSE(avi.hasAudio);
    ASSERT_EQ(avi.framesRgb.size(), 7u);
    for (size_t frame : {size_t{0}, size_t{6}}) {
        SCOPED_TRACE(frame);
        const std::vector<int> top = avi.pixel(frame, 320, 100), bottom = avi.pixel(frame, 320, 380),
                               bar = avi.pixel(frame, 320, 10);
        EXPECT_GT(top[0], 240);
        EXPECT_GT(top[1], 240);
        EXPECT_LT(bottom[0], 20);
        EXPECT_GT(bottom[2], 235);
        EXPECT_LT(bar[0] + bar[1] + bar[2], 30);
    }
}

TEST_F(FrameLoopTest, ACaptureFromALaterSceneCarriesTheMusicInStep)
{
    // The music is silent for its first second; the second scene starts
    // there, so its capture is loud from the first frame.
    std::filesystem::create_directory("data");
    std::ofstream("data/demo.cfg") << "mp3 = \"song.mp3\"\n";
    ASSERT_TRUE(mp3writer::writeFile("data/song.mp3", mediatest::toneMp3(2.0, {{1.0, 2.0}})));
    shell::showSettings().captureAtStart = true;
    shell::showSettings().captureFrameRate = 25;
    shell::showSettings().startScene = 1;
    StageTable stages;
    stages[0] = halvesScene(1.0f, blue);
    stages[1] = halvesScene(0.3f, blue);
    openShow(stages);
    EXPECT_EQ(shell::runFrameLoop(), 0);
    EXPECT_TRUE(scene(0).times.empty());
    ASSERT_EQ(scene(1).times.size(), 9u);
    EXPECT_NEAR(scene(1).times[0], 0.99f, 1e-5);
    shell::killGLWindow();

    mediatest::AviContents avi = mediatest::probeVideo(folder.path("quillon.avi"));
    ASSERT_TRUE(avi.readable) << avi.error;
    ASSERT_TRUE(avi.hasAudio);
    EXPECT_EQ(avi.framesRgb.size(), 9u);
    EXPECT_EQ(avi.audio.size() / 2, 9u * 1764);
    EXPECT_GT(mediatest::rmsLevel(avi.audio, 2000, 10000), 5000.0);
}

TEST_F(FrameLoopTest, AStopSignalEndsTheRunWithACompleteVideo)
{
    platform::installStopSignalHandlers();
    shell::showSettings().captureAtStart = true;
    StageTable stages;
    stages[0] = halvesScene(100.0f, blue, [](size_t frame) {
        if (frame == 3)
            std::raise(SIGTERM);
    });
    openShow(stages);
    EXPECT_EQ(shell::runFrameLoop(), 0);
    EXPECT_EQ(scene(0).times.size(), 4u);
    shell::killGLWindow();
    mediatest::AviContents avi = mediatest::probeVideo(folder.path("quillon.avi"));
    ASSERT_TRUE(avi.readable) << avi.error;
    EXPECT_EQ(avi.framesRgb.size(), 4u);
}

TEST_F(FrameLoopTest, AFrameTheCaptureCannotWriteEndsTheRunAndFailsIt)
{
    // At frame 3 the video may grow no further than it is on the disk, as
    // on a disk that has filled up; the show would go on for 30 seconds
    // (600 frames). The writer's output buffer still takes the small frames
    // of this scene for a while.
    shell::showSettings().captureAtStart = true;
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    StageTable stages;
    stages[0] = halvesScene(30.0f, blue, [unlimited](size_t frame) {
        if (frame == 3) {
            const rlimit full{static_cast<rlim_t>(std::filesystem::file_size("quillon.avi")), unlimited.rlim_max};
            setrlimit(RLIMIT_FSIZE, &full);
        }
    });
    openShow(stages);
    // (The limit holds for every file of the process: nothing is captured.)
    const int exitCode = shell::runFrameLoop();
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(exitCode, 1);
    EXPECT_LT(scene(0).times.size(), 200u);
}

TEST_F(FrameLoopTest, TheCaptureKeyTogglesOncePerPressAndNeverOverwritesAVideo)
{
    // A live run. The toggle's entry is set at frames 1, 4 and 6 and left
    // set, as a typed "m" leaves it; Escape comes at frame 9.
    StageTable stages;
    stages[0] = halvesScene(1000.0f, blue, [](size_t frame) {
        if (frame == 1 || frame == 4 || frame == 6)
            shell::shellState().keys[shell::keyCaptureToggle] = 1;
        if (frame == 9)
            shell::shellState().keys[27] = 1;
    });
    openShow(stages);
    testing::internal::CaptureStdout();
    EXPECT_EQ(shell::runFrameLoop(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n\nAVI ended\n");
    EXPECT_EQ(scene(0).times.size(), 10u);
    shell::killGLWindow();

    // On after frame 1: frame 2 opens the file, frames 3 and 4 go in; off
    // after 4; on after 6: frame 7 opens the next file, 8 and 9 go in.
    for (const char* name : {"quillon.avi", "quillon-2.avi"}) {
        SCOPED_TRACE(name);
        mediatest::AviContents avi = mediatest::probeVideo(folder.path(name));
        ASSERT_TRUE(avi.readable) << avi.error;
        EXPECT_EQ(avi.framesRgb.size(), 2u);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path("quillon-3.avi")));
}

TEST_F(FrameLoopTest, AMinimisedWindowDrawsNoFrames)
{
    // Minimised after frame 2, with Escape already typed: the loop must
    // notice the key without drawing another frame.
    StageTable stages;
    stages[0] = halvesScene(1000.0f, blue, [](size_t frame) {
        if (frame == 2) {
            shell::shellState().active = false;
            shell::shellState().keys[27] = 1;
        }
    });
    openShow(stages);
    const long presentsBefore = presents();
    EXPECT_EQ(shell::runFrameLoop(), 0);
    EXPECT_EQ(scene(0).times.size(), 3u);
    EXPECT_EQ(presents() - presentsBefore, 3);
}

TEST_F(FrameLoopTest, ShotsSaveTheFirstFrameReachingTheirTimeAndEndTheRun)
{
    shell::ProgramOptions options;
    options.shots = {{0.1, "green.png"}, {0.0, "red.png"}, {0.23, "blue.png"}};
    StageTable stages;
    stages[0] = halvesScene(100.0f, [](float local) -> std::array<float, 3> {
        if (local < 0.05f)
            return {1, 0, 0};
        return local < 0.2f ? std::array<float, 3>{0, 1, 0} : std::array<float, 3>{0, 0, 1};
    });
    openShow(stages, options);
    EXPECT_EQ(shell::runFrameLoop(), 0);
    // Frames at 0, 0.05, 0.1, 0.15, 0.2, 0.25 s; the last shot ends the run.
    EXPECT_EQ(scene(0).times.size(), 6u);
    EXPECT_FALSE(std::filesystem::exists(folder.path("quillon.avi")));

    const struct {
        const char* file;
        std::vector<int> colour;
    } shots[] = {{"red.png", {255, 0, 0}}, {"green.png", {0, 255, 0}}, {"blue.png", {0, 0, 255}}};
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.file);
        std::ifstream in(folder.path(shot.file), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        resources::DecodedImage image;
        ASSERT_TRUE(resources::decodePng(bytes.data(), bytes.size(), 0, image));
        EXPECT_EQ(image.width, 640);
        EXPECT_EQ(image.height, 480);
        EXPECT_EQ(pixelAt(image, 320, 100), (std::vector<int>{255, 255, 255}));
        EXPECT_EQ(pixelAt(image, 320, 380), shot.colour);
        EXPECT_EQ(pixelAt(image, 320, 470), (std::vector<int>{0, 0, 0}));
    }
}

TEST_F(FrameLoopTest, AShotTheShowNeverReachesFailsTheRun)
{
    shell::ProgramOptions options;
    options.shots = {{0.0, "first.png"}, {5.0, "never.png"}};
    StageTable stages;
    stages[0] = halvesScene(0.1f, blue);
    openShow(stages, options);
    testing::internal::CaptureStderr();
    EXPECT_EQ(shell::runFrameLoop(), 1);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("before the shot at 5 s: never.png not written"), std::string::npos) << errors;
    EXPECT_TRUE(std::filesystem::exists(folder.path("first.png")));
    EXPECT_FALSE(std::filesystem::exists(folder.path("never.png")));
}

TEST_F(FrameLoopTest, LoadingFramesComeBetweenTheStagesInTheirRandomOrder)
{
    // Each loading frame draws two random numbers; the scenes draw one each
    // as they are built, so each sees how many frames came before it.
    std::srand(1);
    std::vector<int> reference;
    for (int i = 0; i < 200; ++i)
        reference.push_back(std::rand());
    std::vector<int> drawn(sceneStageCount, -1);
    StageTable stages;
    for (int stage = 0; stage < sceneStageCount; ++stage)
        stages[stage] = {[&drawn, stage](ResourceManager& resources, RunState&) -> std::unique_ptr<Scene> {
                             drawn[stage] = std::rand();
                             return std::make_unique<RecordingScene>(&resources, "scene", 1.0f);
                         },
                         1.0f};
    std::srand(1);
    openShow(stages);
    for (int stage = 0; stage < sceneStageCount; ++stage) {
        SCOPED_TRACE(stage);
        // The first loading frame and nine after each earlier stage.
        EXPECT_EQ(drawn[stage], reference[2 * (1 + 9 * stage) + stage]);
    }
    EXPECT_EQ(presents(), 1 + 90 + 1);
    // The loading ends on a black frame.
    EXPECT_EQ(testsupport::readPixel(320, 240), (std::array<uint8_t, 4>{0, 0, 0, 0}));
}
