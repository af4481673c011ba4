#include "shell/ShowRun.h"

#include "effects/SharedObjects.h"
#include "platform/Clock.h"
#include "platform/StopSignal.h"
#include "resources/ResourceManager.h"
#include "scenes/ShowTimeline.h"
#include "shell/CapabilityCheck.h"
#include "shell/LoadingDisplay.h"
#include "shell/ShellState.h"
#include "shell/ShowSettings.h"
#include "shell/VideoCapture.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace shell {

namespace {

// The loading stages with nine loading frames after each, the last stage
// included; records how long each stage took. A stop signal ends the
// loading after the stage under way: nobody waits for the rest of a show
// that is not going to play.
void loadStages(ShowRun& run)
{
    Demo& demo = *run.demo;
    drawLoadingFrame(0.0f);
    for (int stage = 0; !platform::stopRequested(); ++stage) {
        const double before = platform::wallClockMs();
        const int stagesLeft = demo.loadStage();
        run.stageMilliseconds.push_back(platform::wallClockMs() - before);
        for (int i = 0; i <= 8 && !platform::stopRequested(); ++i)
            drawLoadingFrame(static_cast<float>(stage) + 0.1f * static_cast<float>(i));
        if (stagesLeft == 0)
            return;
    }
}

void pauseUntilShowStart(double showStartSeconds)
{
    while (platform::wallClockMs() * 0.001 < showStartSeconds && !platform::stopRequested())
        platform::sleepMilliseconds(5);
}

void presentBlackFrame()
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    if (shellState().windowSystem)
        shellState().windowSystem->present();
}

} // namespace

ShowRun& showRun()
{
    static ShowRun run;
    return run;
}

void installShow(const ProgramOptions& options)
{
    ShowRun& run = showRun();
    run = ShowRun{};
    run.timeline = showTimeline();
    run.links = linkShowScenes;
    run.benchFrames = options.benchFrames;
    run.usePack = options.pack;
    run.authorMode = options.author;
    run.mode = options.benchFrames > 0 ? RunMode::Bench : options.shots.empty() ? RunMode::Show : RunMode::Shots;
    run.shots = options.shots;
    std::stable_sort(run.shots.begin(), run.shots.end(),
                     [](const ShotRequest& a, const ShotRequest& b) { return a.seconds < b.seconds; });

    ShellState& state = shellState();
    state.initShow = initShow;
    state.releaseShow = releaseShow;
    state.onCharacter = [](int character) {
        if (showRun().demo)
            showRun().demo->onKey(character, 0, 0);
    };
    state.onKeyDown = [](int virtualKey) {
        if (showRun().author)
            showRun().author->onKeyDown(virtualKey);
    };
}

bool openShowCapture(ShowRun& run)
{
    const ShowSettings& settings = showSettings();
    if (!openCapture(run.captureFile, settings.captureFrameRate, settings.width, settings.height))
        return false;
    run.captureBuffer.assign(static_cast<size_t>(settings.width) * static_cast<size_t>(settings.height) * 4, 0);
    run.captureOpen = true;
    run.progress.begin(stderr, isatty(fileno(stderr)) != 0);
    return true;
}

void closeShowCapture(ShowRun& run)
{
    if (!closeCapture())
        run.captureFailed = true;
    run.captureOpen = false;
    run.progress.end(platform::wallClockMs());
}

bool initShow()
{
    ShowRun& run = showRun();
    const ShowSettings& settings = showSettings();
    // Shots and benchmarks run on the capture clock too, without a video.
    const bool captureClock = run.mode != RunMode::Show || settings.captureAtStart;
    if (run.mode == RunMode::Show && settings.captureAtStart) {
        if (!openShowCapture(run))
            return false;
        run.capturing = true;
    }
    checkCapabilities();

    auto resources = std::make_unique<ResourceManager>(run.usePack, true);
    resources->setObjectFactory(createSharedObject);
    resources->screenWidth = settings.width;
    resources->screenHeight = settings.height;
    run.demo = std::make_unique<Demo>(std::move(resources), run.timeline, run.links);
    Demo& demo = *run.demo;
    demo.clock.offset = settings.timeOffset;
    demo.clock.onFrames = captureClock;
    demo.clock.framesPerSecond = settings.captureFrameRate;
    demo.musicPending = !captureClock;
    loadStages(run);
    if (demo.scenes.empty())
        std::fprintf(stderr, "glint: the show has no scenes; it ends at its first frame\n");

    presentBlackFrame();
    if (run.mode == RunMode::Show)
        pauseUntilShowStart(run.showStartSeconds);
    if (settings.startScene >= 0 && run.mode != RunMode::Bench)
        demo.skipTo(settings.startScene);
    if (run.authorMode && run.mode != RunMode::Bench) {
        run.author = std::make_unique<AuthorMode>(demo);
        run.author->watchData();
    }
    if (run.capturing)
        run.captureMusic = musicFilePath(*demo.resources);
    return true;
}

void releaseShow()
{
    ShowRun& run = showRun();
    if (run.captureOpen)
        closeShowCapture(run);
    run.demo.reset();
    run.author.reset();
}

} // namespace shell
