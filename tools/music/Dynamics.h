// The master's dynamics: a gentle compressor that glues the mix together
// and a look-ahead limiter that guarantees the ceiling. The limiter delays
// the audio by its look-ahead so it can lower the gain before a peak
// arrives instead of clipping it.
#pragma once

#include <cstddef>
#include <vector>

namespace music {

// Stereo-linked feed-forward compressor.
class Compressor {
public:
    Compressor(float thresholdDb, float ratio, double attackSeconds, double releaseSeconds, float makeupDb);
    void process(float* left, float* right, int frames);

private:
    float threshold_;   // dBFS
    float slope_;       // 1 - 1 / ratio
    float makeup_;      // linear
    float attackCoef_, releaseCoef_, gainCoef_;
    float detector_ = 0;
    float targetGain_;
    float gain_;
    int countdown_ = 0;
};

// Brick-wall limiter: no output sample exceeds the ceiling. For each sample
// it takes the gain the loudest sample of the next look-ahead window needs,
// lets it recover at the release rate and averages it over the window, which
// ramps the gain down smoothly and still reaches the needed gain by the peak.
class Limiter {
public:
    Limiter(float ceiling, int lookaheadSamples, double releaseSeconds);
    // Samples come out `latency()` samples after they went in.
    void process(float* left, float* right, int frames);
    int latency() const { return window_ - 1; }

private:
    int window_;
    float ceiling_;
    float releaseCoef_;
    std::vector<float> delayLeft_, delayRight_;   // the audio, window_ samples
    std::vector<float> gains_;                    // needed gains, window_ samples
    std::vector<float> smoothed_;                 // released gains, window_ samples
    std::vector<size_t> minQueue_;                // ring of indices, increasing gains
    size_t queueHead_ = 0, queueSize_ = 0;
    size_t n_ = 0;
    double sum_;
    float released_ = 1.0f;
};

} // namespace music
