// The run's settings: one process-wide record, fixed at start-up from the
// command-line switches or the settings dialog and read by the shell, the
// capability check and the sequencer afterwards.
//
// Switches are separated by "/" only (blanks stay inside a switch); the
// first character of a switch selects it and the rest is its number:
//   w  windowed               m  capture the whole show from its first frame
//   sN start at scene N       g  lower quality (fewer extensions)
//   tX time offset X seconds  r  seed the random generator with the time
//   fN capture frame rate N   zN screen size: 1 800x600, 2 1024x768,
//                                3 1280x960, anything else 640x480
// Later switches override earlier ones; unknown switches are ignored, and so
// (with a note) are a capture frame rate outside 1 to maxCaptureFrameRate and
// a time offset that is not a number of seconds within maxTimeOffset.
#pragma once

#include <string>

namespace shell {

constexpr int maxCaptureFrameRate = 1000;
constexpr double maxTimeOffset = 3600.0;

struct ShowSettings {
    bool fullScreen = true;
    bool quality = true;
    int startScene = -1;      // -1: from the first scene without skipping
    float timeOffset = -0.01f; // seconds
    int captureFrameRate = 20;
    int width = 640;
    int height = 480;
    bool captureAtStart = false;
};

// The process-wide record.
ShowSettings& showSettings();

// Applies the switches of `commandLine` to `settings`, in order. Returns true
// when a switch r asked for the random generator to be seeded with the time
// (the caller seeds it, so parsing itself stays free of side effects).
bool applySwitches(const std::string& commandLine, ShowSettings& settings);

} // namespace shell
