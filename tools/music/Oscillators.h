// Sound sources for the voices: a seeded noise generator, a sine that does
// not depend on the C library, and band-limited saw and pulse waves
// (polyBLEP: the step of a naive wave is smoothed over one sample each side,
// which keeps aliasing low without oversampling).
//
// Noise comes from its own generator, never from rand(): the show draws its
// random numbers from the C library in a fixed order, and the music must
// neither disturb that order nor depend on it.
#pragma once

#include <cmath>
#include <cstdint>

namespace music {

// xorshift32: small, fast and the same on every machine.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    uint32_t nextBits()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [-1, 1).
    float next() { return static_cast<float>(static_cast<int32_t>(nextBits())) * (1.0f / 2147483648.0f); }
    // Uniform in [0, 1).
    float unit() { return static_cast<float>(nextBits() >> 8) * (1.0f / 16777216.0f); }

private:
    uint32_t state_;
};

// Mixes a note's identity into a seed, so each note's noise is its own and
// does not shift when other notes are added before it.
inline uint32_t hashSeed(uint32_t a, uint32_t b)
{
    uint32_t h = a * 0x85ebca6bu ^ (b + 0x9e3779b9u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    return h;
}

constexpr double kPi = 3.14159265358979323846;

// sin(2 pi phase) for any phase, to about 4e-6: a Taylor series on the
// quarter wave after folding the phase into [-1/4, 1/4].
inline float sine(double phase)
{
    // floor() by truncation: the library call is the slowest part otherwise.
    const double shifted = phase + 0.5;
    double whole = static_cast<double>(static_cast<int64_t>(shifted));
    if (whole > shifted)
        whole -= 1.0;
    double p = phase - whole;   // [-0.5, 0.5)
    if (p > 0.25)
        p = 0.5 - p;
    else if (p < -0.25)
        p = -0.5 - p;
    const double x = 2.0 * kPi * p;
    const double x2 = x * x;
    return static_cast<float>(x * (1.0 - x2 / 6.0 * (1.0 - x2 / 20.0 * (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0)))));
}

inline double midiToHz(double pitch)
{
    return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0);
}

inline double centsToRatio(double cents)
{
    return std::pow(2.0, cents / 1200.0);
}

inline float polyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return static_cast<float>(t + t - t * t - 1.0);
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return static_cast<float>(t * t + t + t + 1.0);
    }
    return 0.0f;
}

// A phase in [0, 1) that advances by freq / sample rate per sample.
class Phase {
public:
    explicit Phase(double start = 0) : phase_(start - std::floor(start)) {}
    void setFrequency(double hz, double sampleRate) { step_ = hz / sampleRate; }
    double value() const { return phase_; }
    double step() const { return step_; }
    void advance()
    {
        phase_ += step_;
        if (phase_ >= 1.0)
            phase_ -= 1.0;
    }

private:
    double phase_ = 0;
    double step_ = 0;
};

inline float sawWave(const Phase& p)
{
    return static_cast<float>(2.0 * p.value() - 1.0) - polyBlep(p.value(), p.step());
}

// A pulse of the given duty cycle (0.5 is a square).
inline float pulseWave(const Phase& p, double duty)
{
    const double t = p.value();
    double shifted = t + (1.0 - duty);
    if (shifted >= 1.0)
        shifted -= 1.0;
    const float naive = t < duty ? 1.0f : -1.0f;
    return naive + polyBlep(t, p.step()) - polyBlep(shifted, p.step());
}

// Equal-power pan: -1 is hard left, 1 hard right, 0 is -3 dB on each side.
struct PanGains {
    float left;
    float right;
};

inline PanGains panGains(float pan)
{
    const double angle = (static_cast<double>(pan) + 1.0) * kPi / 4.0;
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

} // namespace music
