// The synthesised drum kit and the transition effects. Every drum starts at
// zero (sines from phase 0, noise through an envelope with a short attack)
// and ends with its envelope's release, so even hits cut short by their gate
// fade out instead of stopping.
#include "music/Envelope.h"
#include "music/Filters.h"
#include "music/Oscillators.h"
#include "music/Voice.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace music {
namespace {

constexpr double kRate = kSampleRate;

// Gentle saturation for body: odd-order, flat at the origin, capped at +-1.
inline float softClip(float x)
{
    if (x > 1.0f)
        return 1.0f;
    if (x < -1.0f)
        return -1.0f;
    return x * (1.5f - 0.5f * x * x);
}

class DrumVoice : public Voice {
protected:
    DrumVoice(const Note& note, const EnvelopeShape& shape, double seconds)
        : envelope_(shape, static_cast<int64_t>(seconds * kRate)), gains_(panGains(note.pan)),
          velocity_(note.velocity)
    {
    }
    // Sends one mono sample through the envelope, pan and velocity.
    bool emit(float sample, float* left, float* right, int i)
    {
        const float level = envelope_.next() * velocity_;
        left[i] += sample * level * gains_.left;
        right[i] += sample * level * gains_.right;
        return !envelope_.finished();
    }
    Envelope envelope_;
    PanGains gains_;
    float velocity_;
};

// A sine that sweeps down from a few times its pitch, with a noise click.
class KickVoice : public DrumVoice {
public:
    KickVoice(const Note& note, uint32_t seed)
        : DrumVoice(note, {0.0006, 0.12 + 0.2 * note.tone, 0.0f, 0.06}, 0.45 + 0.4 * note.tone), noise_(seed),
          endHz_(midiToHz(note.pitch))
    {
        click_.set(3500, 0.2);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            const double hz = endHz_ * (1.0 + 2.6 * sweep_);
            sweep_ *= 0.99935f;   // about 35 ms
            phase_ += hz / kRate;
            float click = 0.0f;
            if (clickLevel_ > 1e-5f) {   // the click is over within a few milliseconds
                click = click_.lowpass(noise_.next()) * clickLevel_;
                clickLevel_ *= 0.985f;
            }
            const float body = softClip(1.3f * sine(phase_) + click);
            if (!emit(body, left, right, i))
                return false;
        }
        return true;
    }

private:
    Noise noise_;
    StateVariableFilter click_;
    double endHz_;
    double phase_ = 0;
    float sweep_ = 1.0f;
    float clickLevel_ = 0.35f;
};

// A pitched body under band-limited noise; tone brightens the noise.
class SnareVoice : public DrumVoice {
public:
    SnareVoice(const Note& note, uint32_t seed)
        : DrumVoice(note, {0.0008, 0.13, 0.0f, 0.05}, 0.45), noise_(seed), bodyHz_(midiToHz(note.pitch))
    {
        colour_.set(1800 + 3000 * note.tone, 0.15);
        soften_.setCutoff(8000);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            const double hz = bodyHz_ * (1.0 + 0.5 * sweep_);
            sweep_ *= 0.9985f;
            phase_ += hz / kRate;
            const float body = (sine(phase_) + 0.5f * sine(phase_ * 1.63)) * bodyLevel_;
            bodyLevel_ *= 0.99955f;   // the body dies faster than the rattle
            const StateVariableFilter::Outputs n = colour_.process(noise_.next());
            const float rattle = soften_.process(n.high + 0.6f * n.band);
            if (!emit(0.8f * body + 1.2f * rattle, left, right, i))
                return false;
        }
        return true;
    }

private:
    Noise noise_;
    StateVariableFilter colour_;
    OnePole soften_;   // real snare wires ring below 10 kHz; white noise above is only hiss
    double bodyHz_;
    double phase_ = 0;
    float sweep_ = 1.0f;
    float bodyLevel_ = 1.0f;
};

// Band-passed noise in four quick bursts, then a short tail: hands clapping
// a few milliseconds apart.
class ClapVoice : public DrumVoice {
public:
    ClapVoice(const Note& note, uint32_t seed)
        : DrumVoice(note, {0.0004, 0.16 + 0.1 * note.tone, 0.0f, 0.05}, 0.5), noise_(seed)
    {
        band_.set(1150 + 500 * note.tone, 0.45);
    }
    bool render(float* left, float* right, int frames) override
    {
        constexpr int kBurstGap = 400;   // 9 ms
        for (int i = 0; i < frames; ++i, ++t_) {
            float shape = 0.55f;
            if (t_ < 3 * kBurstGap) {
                const int inBurst = t_ % kBurstGap;
                const float rise = inBurst < 20 ? inBurst / 20.0f : 1.0f;
                shape = 0.55f + rise * std::exp(-inBurst / 90.0f);
            }
            const float n = band_.bandpass(noise_.next()) * 2.2f * shape;
            if (!emit(n, left, right, i))
                return false;
        }
        return true;
    }

private:
    Noise noise_;
    StateVariableFilter band_;
    int t_ = 0;
};

// Six detuned square waves (a metallic cluster) with noise, high-passed.
class MetalVoice : public DrumVoice {
public:
    MetalVoice(const Note& note, uint32_t seed, const EnvelopeShape& shape, double seconds,
               double highpassHz)
        : DrumVoice(note, shape, seconds), noise_(seed)
    {
        static const std::array<double, 6> ratios = {1.0, 1.4826, 1.8004, 2.5461, 2.6303, 3.8966};
        const double base = 300.0 * (0.9 + 0.3 * note.tone);
        for (size_t k = 0; k < ratios.size(); ++k) {
            phases_[k] = Phase(noise_.unit());
            phases_[k].setFrequency(base * ratios[k], kRate);
        }
        high_.set(highpassHz, 0.3);
        air_.set(highpassHz * 1.5, 0.1);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            float metal = 0;
            for (Phase& p : phases_) {
                metal += p.value() < 0.5 ? 1.0f : -1.0f;
                p.advance();
            }
            const float mixed = high_.highpass(0.12f * metal + 0.6f * noise_.next());
            if (!emit(1.4f * air_.highpass(mixed), left, right, i))
                return false;
        }
        return true;
    }

private:
    Noise noise_;
    std::array<Phase, 6> phases_;
    StateVariableFilter high_, air_;
};

// A long wash of stereo noise over a metallic core.
class CrashVoice : public Voice {
public:
    CrashVoice(const Note& note, uint32_t seed)
        : envelope_({0.001, 0.55 + 0.6 * note.tone, 0.0f, 0.4}, static_cast<int64_t>(2.6 * kRate)),
          noiseLeft_(seed), noiseRight_(hashSeed(seed, 7)), velocity_(note.velocity)
    {
        for (StateVariableFilter* f : {&left_, &right_})
            f->set(4200, 0.25);
        for (StateVariableFilter* f : {&shineLeft_, &shineRight_})
            f->set(9000, 0.35);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            const float level = envelope_.next() * velocity_;
            const float l = left_.highpass(noiseLeft_.next());
            const float r = right_.highpass(noiseRight_.next());
            left[i] += (0.8f * l + 0.5f * shineLeft_.bandpass(l)) * level;
            right[i] += (0.8f * r + 0.5f * shineRight_.bandpass(r)) * level;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    Envelope envelope_;
    Noise noiseLeft_, noiseRight_;
    StateVariableFilter left_, right_, shineLeft_, shineRight_;
    float velocity_;
};

// A tuned membrane: a sine that drops onto its pitch, with a little stick.
class TomVoice : public DrumVoice {
public:
    TomVoice(const Note& note, uint32_t seed)
        : DrumVoice(note, {0.0006, 0.2, 0.0f, 0.06}, 0.6), noise_(seed), hz_(midiToHz(note.pitch))
    {
        stick_.set(2500, 0.2);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            phase_ += hz_ * (1.0 + 0.6 * sweep_) / kRate;
            sweep_ *= 0.9993f;
            const float stick = stick_.bandpass(noise_.next()) * stickLevel_;
            stickLevel_ *= 0.996f;
            if (!emit(softClip(1.2f * sine(phase_) + stick), left, right, i))
                return false;
        }
        return true;
    }

private:
    Noise noise_;
    StateVariableFilter stick_;
    double hz_;
    double phase_ = 0;
    float sweep_ = 1.0f;
    float stickLevel_ = 0.6f;
};

// Stereo noise through a band-pass that climbs over the note's length while
// the level swells: the tension before a downbeat. tone sets the top.
class RiserVoice : public Voice {
public:
    RiserVoice(const Note& note, uint32_t seed)
        : envelope_({0.01, 1.0, 1.0f, 0.02}, gateSamples(note)), noiseLeft_(seed),
          noiseRight_(hashSeed(seed, 11)), length_(static_cast<double>(gateSamples(note))),
          topHz_(3000 + 7000 * note.tone), velocity_(note.velocity)
    {
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i, ++t_) {
            const double u = std::min(1.0, t_ / length_);
            if ((t_ & 15) == 0) {
                const double hz = 250.0 * std::pow(topHz_ / 250.0, u);
                left_.set(hz, 0.55);
                right_.set(hz * 1.05, 0.55);
            }
            const float level = envelope_.next() * velocity_ * static_cast<float>(u * u);
            left[i] += left_.bandpass(noiseLeft_.next()) * level * 1.6f;
            right[i] += right_.bandpass(noiseRight_.next()) * level * 1.6f;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    Envelope envelope_;
    Noise noiseLeft_, noiseRight_;
    StateVariableFilter left_, right_;
    double length_;
    double topHz_;
    float velocity_;
    int64_t t_ = 0;
};

// A deep boom under a dull thud: the downbeat of a new scene.
class ImpactVoice : public DrumVoice {
public:
    ImpactVoice(const Note& note, uint32_t seed)
        : DrumVoice(note, {0.001, 0.5 + 0.6 * note.tone, 0.0f, 0.5}, 2.5), noise_(seed),
          hz_(midiToHz(note.pitch))
    {
        thud_.set(420, 0.3);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            phase_ += hz_ * (1.0 + 1.2 * sweep_) / kRate;
            sweep_ *= 0.99985f;
            const float thud = thud_.lowpass(noise_.next()) * thudLevel_;
            thudLevel_ *= 0.9997f;
            if (!emit(softClip(sine(phase_) + 1.5f * thud), left, right, i))
                return false;
        }
        return true;
    }

private:
    Noise noise_;
    StateVariableFilter thud_;
    double hz_;
    double phase_ = 0;
    float sweep_ = 1.0f;
    float thudLevel_ = 1.0f;
};

} // namespace

std::unique_ptr<Voice> makeDrumVoice(const Note& note, uint32_t seed)
{
    switch (note.instrument) {
    case Instrument::Kick:
        return std::make_unique<KickVoice>(note, seed);
    case Instrument::Snare:
        return std::make_unique<SnareVoice>(note, seed);
    case Instrument::Clap:
        return std::make_unique<ClapVoice>(note, seed);
    case Instrument::ClosedHat:
        return std::make_unique<MetalVoice>(note, seed, EnvelopeShape{0.0004, 0.028, 0.0f, 0.02}, 0.1, 7000);
    case Instrument::OpenHat:
        return std::make_unique<MetalVoice>(note, seed, EnvelopeShape{0.0006, 0.16, 0.0f, 0.06}, 0.35, 6500);
    case Instrument::Crash:
        return std::make_unique<CrashVoice>(note, seed);
    case Instrument::Tom:
        return std::make_unique<TomVoice>(note, seed);
    case Instrument::Riser:
        return std::make_unique<RiserVoice>(note, seed);
    case Instrument::Impact:
        return std::make_unique<ImpactVoice>(note, seed);
    default:
        return nullptr;
    }
}

} // namespace music
