// The scene benchmark (--bench): after the normal loading, every scene of
// the list is rendered on its own for a number of frames from its start on
// the capture clock, each frame finished before the next, and timed. The
// report on standard output has one row per scene (index, class, median and
// 95th-percentile milliseconds per frame) and then the loading time of each
// stage and of all of them. The first tenth of each scene's frames warms
// caches and the driver's compiled state and is left out.
#pragma once

#include <vector>

namespace shell {

struct FrameStats {
    double median = 0.0;
    double percentile95 = 0.0;  // nearest rank
};

// Statistics of the frame times after the first `warmUp` (all zero when
// nothing is left).
FrameStats frameStats(std::vector<double> milliseconds, int warmUp);

// Frames left out at the start of each scene's run of `frames`.
int warmUpFrames(int frames);

// Runs the benchmark on showRun(), which initShow has loaded; returns the
// exit code.
int runSceneBench();

} // namespace shell
