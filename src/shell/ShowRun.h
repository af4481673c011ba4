// The show as the shell runs it: what kind of run this is, the sequencer
// (which owns the show's clock), the capture state, and the shots still to
// take.
// One process-wide record. installShow() fills it from the options and
// plugs the show into the window's hooks before the window opens; the
// window's teardown releases the show (closing a running capture first)
// while the context is still current.
#pragma once

#include "sequencer/Demo.h"
#include "shell/AuthorMode.h"
#include "shell/CaptureProgress.h"
#include "shell/ProgramOptions.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace shell {

enum class RunMode {
    Show,   // the show, live or captured into a video
    Shots,  // on the capture clock, saving pictures, no video
    Bench,  // every scene timed headless on the capture clock
};

struct ShowRun {
    RunMode mode = RunMode::Show;
    std::vector<ShotRequest> shots;  // in time order
    size_t shotsTaken = 0;
    int shotsFailed = 0;
    int benchFrames = 0;
    bool usePack = false;  // data from the pack file "pmx.d"
    bool authorMode = false;  // --author: made into `author` once the Demo exists

    // The scenes the sequencer builds: the show's own unless a test puts
    // in others.
    Timeline timeline;
    SceneLinker links;
    std::unique_ptr<Demo> demo;
    // Author mode of a show run; lent to the Demo's frames, so it goes after
    // the Demo.
    std::unique_ptr<AuthorMode> author;
    std::vector<double> stageMilliseconds;  // loading time of each stage
    // The music for a capture's audio track; only runs on the capture
    // clock carry it, since only there pictures and music stay in step.
    std::string captureMusic;

    std::string captureFile = "quillon.avi";
    // The show starts once the process is this old: the black pause lets
    // the display settle after the mode change and the loading. Shots and
    // benchmarks do not wait.
    double showStartSeconds = 3.0;
    bool capturing = false;
    bool captureOpen = false;
    // A capture asked for made no file, lost a frame or was left incomplete:
    // the run cannot report success.
    bool captureFailed = false;
    std::vector<unsigned char> captureBuffer;
    CaptureProgress progress;
};

ShowRun& showRun();

// Starts a fresh run for `options` and sets the window's hooks: initShow
// runs the initialisation, releaseShow the release, typed characters go to
// the sequencer.
void installShow(const ProgramOptions& options);

// The show initialisation, once the context is current: opens the capture
// of a run captured from the start, checks the driver, creates the resource
// manager and the sequencer, loads the stages with the loading display
// between them, shows a black frame, waits until the process is three
// seconds old (not for shots and benchmarks) and moves to the start scene.
// False when a capture asked for cannot be opened.
bool initShow();

// Closes a running capture and deletes the sequencer.
void releaseShow();

// Opens the video file of a capture at the window's size and frame rate;
// false (the reason on standard error) when it cannot be created.
bool openShowCapture(ShowRun& run);
// Completes the video file of the running capture; a file that may be
// incomplete marks the run's capture as failed.
void closeShowCapture(ShowRun& run);

} // namespace shell
