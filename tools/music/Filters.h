// Filters for voices, buses and effects. The state-variable filter is the
// trapezoidal ("zero-delay feedback") form, which stays stable and smooth
// while its cutoff moves, so filter sweeps never click.
#pragma once

#include "music/Oscillators.h"

#include <algorithm>
#include <cmath>

namespace music {

class StateVariableFilter {
public:
    // resonance: 0.5 is flat (Q about 0.7), toward 1 it rings.
    void set(double cutoffHz, double resonance, double sampleRate = 44100.0)
    {
        const double fc = std::clamp(cutoffHz, 10.0, sampleRate * 0.45);
        const double g = std::tan(kPi * fc / sampleRate);
        const double k = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.98);
        a1_ = static_cast<float>(1.0 / (1.0 + g * (g + k)));
        a2_ = static_cast<float>(g) * a1_;
        a3_ = static_cast<float>(g) * a2_;
        k_ = static_cast<float>(k);
    }

    struct Outputs {
        float low;
        float band;
        float high;
    };

    Outputs process(float in)
    {
        const float v3 = in - ic2_;
        const float v1 = a1_ * ic1_ + a2_ * v3;
        const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = flush(2.0f * v1 - ic1_);
        ic2_ = flush(2.0f * v2 - ic2_);
        return {v2, v1, in - k_ * v1 - v2};
    }
    float lowpass(float in) { return process(in).low; }
    float bandpass(float in) { return process(in).band; }
    float highpass(float in) { return process(in).high; }

    // Values small enough to be denormal cost a hundred times more to compute
    // with and are inaudible: the addition rounds them to zero.
    static float flush(float v)
    {
        v += 1e-18f;
        return v - 1e-18f;
    }

private:
    float ic1_ = 0, ic2_ = 0;
    float a1_ = 1, a2_ = 0, a3_ = 0, k_ = 2;
};

// One-pole low-pass, also the smoother for gains and the DC blocker's core.
class OnePole {
public:
    void setCutoff(double hz, double sampleRate = 44100.0)
    {
        coef_ = static_cast<float>(std::exp(-2.0 * kPi * hz / sampleRate));
    }
    void setTimeConstant(double seconds, double sampleRate = 44100.0)
    {
        coef_ = static_cast<float>(std::exp(-1.0 / (seconds * sampleRate)));
    }
    float process(float in)
    {
        state_ = StateVariableFilter::flush(in + coef_ * (state_ - in));
        return state_;
    }

private:
    float coef_ = 0;
    float state_ = 0;
};

} // namespace music
