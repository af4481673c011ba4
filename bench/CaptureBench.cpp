// Cost of writing one 640 x 480 captured frame per codec: the upright
// conversion from the BGRA read-back plus encoding and muxing. Bounds how
// fast a capture run can go whatever the rendering costs.
#include "platform/VideoWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int width = 640;
constexpr int height = 480;

// Smooth gradients with a fine pattern on top, roughly what a rendered
// scene gives an encoder: neither flat nor noise.
std::vector<uint8_t> sceneLikeFrame(int number)
{
    std::vector<uint8_t> pixels(width * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &pixels[(y * width + x) * 4];
            const double ripple = std::sin((x + number * 3) * 0.21) * std::cos(y * 0.17);
            p[0] = static_cast<uint8_t>(x * 255 / width);
            p[1] = static_cast<uint8_t>(127 + 100 * ripple);
            p[2] = static_cast<uint8_t>(y * 255 / height);
            p[3] = 255;
        }
    }
    return pixels;
}

void encodeFrames(benchmark::State& state, const char* codec)
{
    const std::string path = (std::filesystem::temp_directory_path() / "glint-bench-capture.avi").string();
    const std::vector<uint8_t> frames[2] = {sceneLikeFrame(0), sceneLikeFrame(1)};
    platform::VideoFormat format;
    format.width = width;
    format.height = height;
    format.framesPerSecond = 25;
    format.codec = codec;
    std::string error, warning;
    auto writer = platform::VideoWriter::open(path, format, {}, error, warning);
    if (!writer) {
        state.SkipWithError(error.c_str());
        return;
    }
    int64_t n = 0;
    for (auto _ : state)
        writer->writeFrame(frames[n++ % 2].data());
    writer->finish();
    state.SetItemsProcessed(state.iterations());
    state.counters["MB/frame"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6 / double(n);
    std::filesystem::remove(path);
}

} // namespace

BENCHMARK_CAPTURE(encodeFrames, mjpeg, "mjpeg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeFrames, ffv1, "ffv1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeFrames, rawvideo, "rawvideo")->Unit(benchmark::kMillisecond);
