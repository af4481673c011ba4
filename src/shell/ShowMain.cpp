#include "shell/ShowMain.h"

#include "platform/StopSignal.h"
#include "platform/WindowSystem.h"
#include "shell/FrameLoop.h"
#include "shell/GLWindow.h"
#include "shell/SceneBench.h"
#include "shell/SettingsDialog.h"
#include "shell/ShellState.h"
#include "shell/ShowRun.h"
#include "shell/ShowSettings.h"
#include "shell/VideoCapture.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace shell {

const char* const showTitle = ".glint.";

namespace {

void seedWithTime() { std::srand(static_cast<unsigned>(std::time(nullptr))); }

// Settings from the switches, or from the dialog when there are none. False
// when the dialog was cancelled.
bool fixSettings(const ProgramOptions& options, bool hasScreen)
{
    ShowSettings& settings = showSettings();
    if (!options.commandLine.empty()) {
        if (applySwitches(options.commandLine, settings))
            seedWithTime();
        return true;
    }
    // Without a screen nobody can answer the dialog: the defaults stand, as
    // after OK.
    return !hasScreen || runSettingsDialog(settings);
}

} // namespace

int showMain(const ProgramOptions& options)
{
    std::srand(1);
    platform::installStopSignalHandlers();
    setCaptureCodec(options.codec);
    installShow(options);
    ShellState& state = shellState();
    std::string note;
    // Benchmarks always run headless: a window's compositor would time too.
    const bool headless = options.headless || options.benchFrames > 0;
    state.windowSystem = platform::openWindowSystem(headless, note);
    if (!note.empty())
        std::fprintf(stderr, "glint: %s\n", note.c_str());

    int exitCode = 0;
    if (fixSettings(options, state.windowSystem->hasScreen())) {
        const ShowSettings& settings = showSettings();
        const ShowRun& run = showRun();
        if (createGLWindow(showTitle, settings.width, settings.height, 32, settings.fullScreen)) {
            state.keys.fill(0);
            exitCode = run.mode == RunMode::Bench ? runSceneBench() : runFrameLoop();
            killGLWindow();   // completes a running capture
            if (exitCode == 0 && run.captureFailed)
                exitCode = 1;
        } else if (run.mode != RunMode::Show || settings.captureAtStart) {
            // A live show that cannot start returns 0, as it always has; a
            // run asked for a video, pictures or timings made none of them.
            exitCode = 1;
        }
    }
    state.windowSystem.reset();
    return exitCode;
}

} // namespace shell
