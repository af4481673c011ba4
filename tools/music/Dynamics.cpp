#include "music/Dynamics.h"

#include <algorithm>
#include <cmath>

namespace music {

namespace {
constexpr double kRate = 44100.0;
constexpr int kGainPeriod = 16;   // the compressor's gain is recomputed this often

float coefficient(double seconds)
{
    return static_cast<float>(std::exp(-1.0 / (seconds * kRate)));
}
}

Compressor::Compressor(float thresholdDb, float ratio, double attackSeconds, double releaseSeconds, float makeupDb)
    : threshold_(thresholdDb), slope_(1.0f - 1.0f / ratio),
      makeup_(static_cast<float>(std::pow(10.0, makeupDb / 20.0))), attackCoef_(coefficient(attackSeconds)),
      releaseCoef_(coefficient(releaseSeconds)), gainCoef_(coefficient(0.002)), targetGain_(makeup_),
      gain_(makeup_)
{
}

void Compressor::process(float* left, float* right, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const float level = std::max(std::fabs(left[i]), std::fabs(right[i]));
        const float coef = level > detector_ ? attackCoef_ : releaseCoef_;
        detector_ = level + coef * (detector_ - level);
        if (countdown_-- == 0) {
            countdown_ = kGainPeriod - 1;
            const float levelDb = 20.0f * std::log10(std::max(detector_, 1e-6f));
            const float over = levelDb - threshold_;
            const float reductionDb = over > 0 ? -over * slope_ : 0.0f;
            targetGain_ = makeup_ * static_cast<float>(std::pow(10.0, reductionDb / 20.0));
        }
        // Smoothing the gain keeps its steps from becoming audible zipper noise.
        gain_ = targetGain_ + gainCoef_ * (gain_ - targetGain_);
        left[i] *= gain_;
        right[i] *= gain_;
    }
}

Limiter::Limiter(float ceiling, int lookaheadSamples, double releaseSeconds)
    : window_(std::max(1, lookaheadSamples)), ceiling_(ceiling), releaseCoef_(coefficient(releaseSeconds)),
      delayLeft_(window_, 0.0f), delayRight_(window_, 0.0f), gains_(window_, 1.0f), smoothed_(window_, 1.0f),
      minQueue_(window_, 0), sum_(window_)
{
}

void Limiter::process(float* left, float* right, int frames)
{
    const size_t w = static_cast<size_t>(window_);
    for (int i = 0; i < frames; ++i, ++n_) {
        const size_t slot = n_ % w;
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        gains_[slot] = peak > ceiling_ ? ceiling_ / peak : 1.0f;

        // Sliding minimum of the needed gains over the last window_ samples:
        // a queue of sample numbers whose gains increase from its head.
        if (queueSize_ > 0 && minQueue_[queueHead_] + w <= n_) {
            queueHead_ = (queueHead_ + 1) % w;
            --queueSize_;
        }
        while (queueSize_ > 0 && gains_[minQueue_[(queueHead_ + queueSize_ - 1) % w] % w] >= gains_[slot])
            --queueSize_;
        minQueue_[(queueHead_ + queueSize_) % w] = n_;
        ++queueSize_;
        const float needed = gains_[minQueue_[queueHead_] % w];

        // Recover toward unity at the release rate, never above what is needed.
        released_ = std::min(needed, 1.0f + releaseCoef_ * (released_ - 1.0f));
        sum_ += released_ - smoothed_[slot];
        smoothed_[slot] = released_;
        const float gain = std::min(1.0f, static_cast<float>(sum_ / window_));

        // The window's gain covers its oldest sample, written window_ - 1
        // samples ago, which is the slot after this one.
        delayLeft_[slot] = left[i];
        delayRight_[slot] = right[i];
        const size_t oldest = (n_ + 1) % w;
        const float outLeft = delayLeft_[oldest];
        const float outRight = delayRight_[oldest];
        left[i] = outLeft * gain;
        right[i] = outRight * gain;
    }
}

} // namespace music
