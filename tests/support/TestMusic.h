// Music made for the media tests: a 440 Hz tone that plays only in given
// stretches of time and is silent elsewhere, encoded to MP3 with the
// project's MP3 writer, so tests can tell where in the music they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediatest {

struct ToneSpan {
    double from;  // seconds
    double to;
};

// Interleaved stereo PCM at 44 100 Hz, `seconds` long.
std::vector<int16_t> tonePcm(double seconds, const std::vector<ToneSpan>& loud);
std::vector<uint8_t> toneMp3(double seconds, const std::vector<ToneSpan>& loud);

// A mono MP3 at another sample rate, a tone all through; not something the
// project's writer makes, so LAME is driven directly.
std::vector<uint8_t> monoMp3(double seconds, int sampleRate);

// Root-mean-square level of interleaved samples [first, first + count).
double rmsLevel(const std::vector<int16_t>& interleaved, size_t firstSample, size_t count);

// A fresh empty folder for one test, removed by the destructor.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

private:
    std::string folder_;
};

} // namespace mediatest
