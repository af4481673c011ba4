#include "shell/SceneBench.h"

#include "platform/Clock.h"
#include "platform/StopSignal.h"
#include "shell/ShellState.h"
#include "shell/ShowRun.h"


#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <string>
#include <typeinfo>

namespace shell {

namespace {

std::string className(const Scene& scene)
{
    const char* mangled = typeid(scene).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                    std::free);
    return status == 0 && readable ? readable.get() : mangled;
}

constexpr int momentsPerScene = 5;

// Renders scene `index` the way the sequencer would after skipping to it,
// frame by frame on the capture clock from `from` seconds into the scene;
// the milliseconds of each frame.
std::vector<double> timeScene(Demo& demo, int index, float from, int frames)
{
    platform::WindowSystem& windows = *shellState().windowSystem;
    const Scene& scene = *demo.scenes[static_cast<size_t>(index)];
    std::vector<double> milliseconds;
    const double frequency = static_cast<double>(platform::performanceFrequency());
    for (int n = 0; n < frames && !platform::stopRequested(); ++n) {
        const float t = from + static_cast<float>(n) / static_cast<float>(demo.clock.framesPerSecond);
        const uint64_t before = platform::performanceCounter();
        demo.drawFrame(index, demo.clock.showTimeInScene(scene.start, t), t);
        // Headless presenting waits for the frame to be drawn.
        windows.present();
        milliseconds.push_back(static_cast<double>(platform::performanceCounter() - before) * 1000.0 / frequency);
    }
    return milliseconds;
}

// Times scene `index` from each of its moments and prints its row.
void benchScene(Demo& demo, int index, int frames, int warmUp)
{
    const Scene& scene = *demo.scenes[static_cast<size_t>(index)];
    std::printf("%5d  %-28s %8.1f ", index, className(scene).c_str(), scene.duration);
    std::vector<double> timed;
    for (float moment : benchMoments(scene.duration, momentsPerScene)) {
        std::vector<double> milliseconds = timeScene(demo, index, moment, frames);
        std::printf(" %6.2f", frameStats(milliseconds, warmUp).median);
        const auto skipped = static_cast<std::ptrdiff_t>(std::min(milliseconds.size(), static_cast<size_t>(warmUp)));
        timed.insert(timed.end(), milliseconds.begin() + skipped, milliseconds.end());
    }
    const FrameStats whole = frameStats(timed, 0);
    std::printf(" %10.2f %10.2f\n", whole.median, whole.percentile95);
    std::fflush(stdout);
}

} // namespace

FrameStats frameStats(std::vector<double> milliseconds, int warmUp)
{
    const size_t skipped = std::min(milliseconds.size(), static_cast<size_t>(std::max(warmUp, 0)));
    milliseconds.erase(milliseconds.begin(), milliseconds.begin() + static_cast<std::ptrdiff_t>(skipped));
    FrameStats stats;
    if (milliseconds.empty())
        return stats;
    std::sort(milliseconds.begin(), milliseconds.end());
    const size_t n = milliseconds.size();
    stats.median = n % 2 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2.0;
    const size_t rank = static_cast<size_t>(std::ceil(0.95 * static_cast<double>(n)));
    stats.percentile95 = milliseconds[std::max<size_t>(rank, 1) - 1];
    return stats;
}

int warmUpFrames(int frames) { return frames / 10; }

std::vector<float> benchMoments(float duration, int count)
{
    std::vector<float> moments;
    for (int k = 0; k < count; ++k)
        moments.push_back(std::max(duration, 0.0f) * static_cast<float>(k) / static_cast<float>(count));
    return moments;
}

int runSceneBench()
{
    ShowRun& run = showRun();
    Demo& demo = *run.demo;
    const int framesPerSecond = demo.clock.framesPerSecond;
    const int warmUp = warmUpFrames(run.benchFrames);
    std::printf("bench: %d frames at each of %d moments of every scene (its start, 1/%d ... %d/%d of its length) "
                "at %d fps, the first %d of each left out\n",
                run.benchFrames, momentsPerScene, momentsPerScene, momentsPerScene - 1, momentsPerScene,
                framesPerSecond, warmUp);
    std::printf("%5s  %-28s %8s  %-34s %10s %10s\n", "scene", "class", "length s", "median ms at each moment",
                "median ms", "p95 ms");
    for (size_t i = 0; i < demo.scenes.size() && !platform::stopRequested(); ++i)
        benchScene(demo, static_cast<int>(i), run.benchFrames, warmUp);
    double total = 0.0;
    for (size_t stage = 0; stage < run.stageMilliseconds.size(); ++stage) {
        std::printf("loading stage %zu %10.1f ms\n", stage, run.stageMilliseconds[stage]);
        total += run.stageMilliseconds[stage];
    }
    std::printf("loading total   %10.1f ms\n", total);
    return 0;
}

} // namespace shell
