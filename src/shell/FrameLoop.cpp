#include "shell/FrameLoop.h"

#include "platform/Clock.h"
#include "shell/GLWindow.h"
#include "shell/PngWriter.h"
#include "shell/ShellState.h"
#include "shell/ShowRun.h"
#include "shell/ShowSettings.h"
#include "shell/VideoCapture.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <vector>

namespace shell {

namespace {

// A minimised window draws nothing; the loop still wakes now and then for
// messages and stop signals.
constexpr int inactivePauseMilliseconds = 10;

// The back buffer as it is now, bottom row first, 4 bytes a pixel.
void readFrame(GLenum format, unsigned char* pixels)
{
    const ShowSettings& settings = showSettings();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, settings.width, settings.height, format, GL_UNSIGNED_BYTE, pixels);
    glPopClientAttrib();
}

// False when a frame could not be written: the capture has ended and so
// must the run, which has nothing left to make.
bool captureFrame(ShowRun& run)
{
    if (!run.captureOpen) {
        // The frame that opens the file is not written; a file that cannot
        // be made ends the capture instead of being tried every frame.
        if (!openShowCapture(run)) {
            run.capturing = false;
            run.captureFailed = true;
        }
        return true;
    }
    const Demo& demo = *run.demo;
    readFrame(GL_BGRA, run.captureBuffer.data());
    // The music plays from the show time of the file's first frame.
    if (captureFramesWritten() == 0)
        setCaptureAudio(run.captureMusic, demo.clock.lastShowTime);
    if (!writeCaptureFrame(run.captureBuffer.data())) {
        closeShowCapture(run);
        run.capturing = false;
        run.captureFailed = true;
        return false;
    }
    run.progress.frameWritten(platform::wallClockMs(), captureFramesWritten(), demo.clock.lastShowTime,
                              demo.accumulatedStart);
    return true;
}

void takeDueShots(ShowRun& run)
{
    const double frameTime = run.demo->clock.frameTime();
    if (run.shotsTaken == run.shots.size() || run.shots[run.shotsTaken].seconds > frameTime)
        return;
    const ShowSettings& settings = showSettings();
    std::vector<unsigned char> pixels(static_cast<size_t>(settings.width) * static_cast<size_t>(settings.height) * 4);
    readFrame(GL_RGBA, pixels.data());
    for (; run.shotsTaken < run.shots.size() && run.shots[run.shotsTaken].seconds <= frameTime; ++run.shotsTaken) {
        const ShotRequest& shot = run.shots[run.shotsTaken];
        std::string error;
        if (writePng(shot.file, settings.width, settings.height, pixels.data(), error)) {
            std::fprintf(stderr, "glint: saved %s at %.3f s\n", shot.file.c_str(), frameTime);
        } else {
            std::fprintf(stderr, "glint: cannot write %s: %s\n", shot.file.c_str(), error.c_str());
            ++run.shotsFailed;
        }
    }
}

// One frame; true when the show is over.
bool renderFrame(ShowRun& run)
{
    Demo& demo = *run.demo;
    if (run.author)
        run.author->reloadChangedData();
    const int finished = demo.update(static_cast<float>(demo.clock.nextFrame(run.capturing)));
    const bool captureLost = run.capturing && !captureFrame(run);
    takeDueShots(run);
    glFlush();
    shellState().windowSystem->present();
    return finished != 0 || captureLost;
}

void toggleCapture(ShowRun& run)
{
    run.capturing = !run.capturing;
    if (!run.capturing && run.captureOpen) {
        closeShowCapture(run);
        std::printf("\n\nAVI ended\n");
        std::fflush(stdout);
    }
}

// Escape, F2, a stop signal, or the last shot taken end the run. The
// capture toggle uses up its key-table entry, so each press (or typed "m",
// whose entry no key-up clears) toggles once.
bool readKeys(ShowRun& run)
{
    ShellState& state = shellState();
    if (escapeRequested())
        return true;
    if (keyHit(keyCaptureToggle) && run.mode == RunMode::Show) {
        state.keys[keyCaptureToggle] = 0;
        toggleCapture(run);
    }
    forgetKeyTaps();
    return run.mode == RunMode::Shots && run.shotsTaken == run.shots.size();
}

int reportMissingShots(const ShowRun& run)
{
    for (size_t i = run.shotsTaken; i < run.shots.size(); ++i)
        std::fprintf(stderr, "glint: the run ended at %.3f s, before the shot at %g s: %s not written\n",
                     run.demo ? run.demo->clock.frameTime() : 0.0, run.shots[i].seconds, run.shots[i].file.c_str());
    return run.shotsFailed + static_cast<int>(run.shots.size() - run.shotsTaken);
}

} // namespace

int runFrameLoop()
{
    ShellState& state = shellState();
    ShowRun& run = showRun();
    int exitCode = 0;
    for (bool done = false; !done;) {
        const PumpResult pumped = pumpMessage();
        if (pumped == PumpResult::Quit) {
            exitCode = state.quitCode;
            break;
        }
        if (pumped == PumpResult::Handled)
            continue;
        if (!state.active) {
            done = escapeRequested();
            platform::sleepMilliseconds(inactivePauseMilliseconds);
            continue;
        }
        const bool finished = renderFrame(run);
        done = readKeys(run) || finished;
    }
    if (reportMissingShots(run) > 0 || run.captureFailed)
        exitCode = 1;
    return exitCode;
}

} // namespace shell
