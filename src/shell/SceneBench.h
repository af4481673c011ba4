// The scene benchmark (--bench): after the normal loading, every scene of
// the list is rendered on its own for a number of frames from each of five
// moments spread over its length (its start and 1/5 ... 4/5 of the way
// through) on the capture clock, each frame finished before the next, and
// timed, so one run shows a scene's quiet and its busy moments. The report on
// standard output has one row per scene (index, class, length, the median
// milliseconds per frame at each moment, and the median and 95th percentile
// of all its timed frames) and then the loading time of each stage and of all
// of them. The first tenth of the frames from each moment warms caches and
// the driver's compiled state and is left out.
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

// Frames left out at the start of each run of `frames` from one moment.
int warmUpFrames(int frames);

// The scene times (seconds since its start) the bench runs from: `count`
// moments spread evenly over `duration`, the first at 0.
std::vector<float> benchMoments(float duration, int count);

// Runs the benchmark on showRun(), which initShow has loaded; returns the
// exit code.
int runSceneBench();

} // namespace shell
