// The tuned voices: bass, pad, lead, pluck and bell. Filters are retuned at
// a control rate of one update per 16 samples (a third of a millisecond),
// which is far below what the ear follows and saves most of the tangent
// evaluations.
#include "music/Envelope.h"
#include "music/Filters.h"
#include "music/Oscillators.h"
#include "music/Voice.h"

#include <array>
#include <cmath>

namespace music {
namespace {

constexpr double kRate = kSampleRate;
constexpr int kControlPeriod = 16;

// A saw through a low-pass whose cutoff snaps open at the onset and settles,
// over a sine at the same pitch for weight; tone sets how far it opens.
class BassVoice : public Voice {
public:
    BassVoice(const Note& note, uint32_t seed)
        : envelope_({0.003, 0.5, 0.75f, 0.03}, gateSamples(note)), hz_(midiToHz(note.pitch)),
          baseCutoff_(90.0 + 500.0 * note.tone), punch_(3.0 + 6.0 * note.tone), velocity_(note.velocity)
    {
        Noise noise(seed);
        saw_ = Phase(noise.unit());
        saw_.setFrequency(hz_, kRate);
        sub_.setFrequency(hz_, kRate);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i, ++t_) {
            if (t_ % kControlPeriod == 0) {
                filter_.set(baseCutoff_ * (1.0 + punch_ * filterEnvelope_), 0.3);
                filterEnvelope_ *= std::pow(0.9995, kControlPeriod);   // about 45 ms
            }
            const float body = filter_.lowpass(sawWave(saw_));
            const float sub = sine(sub_.value());
            saw_.advance();
            sub_.advance();
            const float level = envelope_.next() * velocity_;
            const float s = (0.75f * body + 0.7f * sub) * level;
            left[i] += s;
            right[i] += s;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    Envelope envelope_;
    Phase saw_, sub_;
    StateVariableFilter filter_;
    double hz_, baseCutoff_, punch_;
    double filterEnvelope_ = 1.0;
    float velocity_;
    int64_t t_ = 0;
};

// Four detuned saws spread across the stereo field, with a slow swell and a
// long release. The pad bus filters them all together.
class PadVoice : public Voice {
public:
    PadVoice(const Note& note, uint32_t seed)
        : envelope_({0.35 - 0.25 * note.tone, 2.5, 0.8f, 1.1}, gateSamples(note)), velocity_(note.velocity)
    {
        static const std::array<double, 4> cents = {-11.0, -4.0, 4.5, 11.5};
        static const std::array<float, 4> pans = {-0.85f, -0.3f, 0.3f, 0.85f};
        Noise noise(seed);
        const double hz = midiToHz(note.pitch);
        for (size_t k = 0; k < cents.size(); ++k) {
            saws_[k] = Phase(noise.unit());
            saws_[k].setFrequency(hz * centsToRatio(cents[k]), kRate);
            gains_[k] = panGains(std::clamp(pans[k] + note.pan, -1.0f, 1.0f));
        }
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i) {
            const float level = envelope_.next() * velocity_ * 0.3f;
            float l = 0, r = 0;
            for (size_t k = 0; k < saws_.size(); ++k) {
                const float s = sawWave(saws_[k]);
                saws_[k].advance();
                l += s * gains_[k].left;
                r += s * gains_[k].right;
            }
            left[i] += l * level;
            right[i] += r * level;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    Envelope envelope_;
    std::array<Phase, 4> saws_;
    std::array<PanGains, 4> gains_;
    float velocity_;
};

// Two detuned saws and a square an octave below, through a low-pass, with a
// vibrato that fades in once the note has sounded for a moment.
class LeadVoice : public Voice {
public:
    LeadVoice(const Note& note, uint32_t seed)
        : envelope_({0.008, 0.7, 0.7f, 0.14}, gateSamples(note)), hz_(midiToHz(note.pitch)),
          cutoff_(700.0 + 3800.0 * note.tone), velocity_(note.velocity), leftGains_(panGains(note.pan - 0.35f)),
          rightGains_(panGains(note.pan + 0.35f))
    {
        Noise noise(seed);
        for (Phase* p : {&sawA_, &sawB_, &square_})
            *p = Phase(noise.unit());
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i, ++t_) {
            if (t_ % kControlPeriod == 0)
                retune();
            const float a = sawWave(sawA_);
            const float b = sawWave(sawB_);
            const float sq = pulseWave(square_, 0.5);
            sawA_.advance();
            sawB_.advance();
            square_.advance();
            const float level = envelope_.next() * velocity_ * 0.5f;
            const float fa = filterA_.lowpass(a + 0.25f * sq);
            const float fb = filterB_.lowpass(b + 0.25f * sq);
            left[i] += (fa * leftGains_.left + fb * rightGains_.left) * level;
            right[i] += (fa * leftGains_.right + fb * rightGains_.right) * level;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    void retune()
    {
        const double seconds = t_ / kRate;
        const double depth = std::clamp((seconds - 0.25) / 0.35, 0.0, 1.0) * 14.0;   // cents
        vibrato_ += 5.3 * kControlPeriod / kRate;
        const double hz = hz_ * centsToRatio(depth * sine(vibrato_));
        sawA_.setFrequency(hz * centsToRatio(-6.0), kRate);
        sawB_.setFrequency(hz * centsToRatio(6.0), kRate);
        square_.setFrequency(hz * 0.5, kRate);
        const double cutoff = cutoff_ * (1.0 + 1.5 * std::exp(-seconds / 0.15));
        filterA_.set(cutoff, 0.25);
        filterB_.set(cutoff, 0.25);
    }

    Envelope envelope_;
    Phase sawA_, sawB_, square_;
    StateVariableFilter filterA_, filterB_;
    double hz_, cutoff_;
    double vibrato_ = 0;
    float velocity_;
    PanGains leftGains_, rightGains_;
    int64_t t_ = 0;
};

// A short, bright pulse-and-saw note whose filter closes quickly: the
// arpeggio and the chord stabs.
class PluckVoice : public Voice {
public:
    PluckVoice(const Note& note, uint32_t seed)
        : envelope_({0.002, 0.2, 0.0f, 0.04}, gateSamples(note)), cutoff_(250.0 + 5200.0 * note.tone),
          velocity_(note.velocity), gains_(panGains(note.pan))
    {
        Noise noise(seed);
        const double hz = midiToHz(note.pitch);
        pulse_ = Phase(noise.unit());
        saw_ = Phase(noise.unit());
        pulse_.setFrequency(hz, kRate);
        saw_.setFrequency(hz * centsToRatio(7.0), kRate);
    }
    bool render(float* left, float* right, int frames) override
    {
        for (int i = 0; i < frames; ++i, ++t_) {
            if (t_ % kControlPeriod == 0) {
                filter_.set(180.0 + cutoff_ * filterEnvelope_, 0.35);
                filterEnvelope_ *= std::pow(0.99975, kControlPeriod);   // about 90 ms
            }
            const float s = filter_.lowpass(0.6f * pulseWave(pulse_, 0.3) + 0.5f * sawWave(saw_));
            pulse_.advance();
            saw_.advance();
            const float level = envelope_.next() * velocity_;
            left[i] += s * level * gains_.left;
            right[i] += s * level * gains_.right;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    Envelope envelope_;
    Phase pulse_, saw_;
    StateVariableFilter filter_;
    double cutoff_;
    double filterEnvelope_ = 1.0;
    float velocity_;
    PanGains gains_;
    int64_t t_ = 0;
};

// Two-operator FM: a sine modulated at twice its pitch (a soft electric
// piano) and at 3.5 times (the glassy strike), the index fading as the note
// rings. Two copies a few cents apart, one on each side, make it wide.
class BellVoice : public Voice {
public:
    BellVoice(const Note& note, uint32_t /*seed*/)
        : envelope_({0.002, 1.3, 0.0f, 0.35}, gateSamples(note)), hz_(midiToHz(note.pitch)),
          index_(0.6 + 2.2 * note.tone), velocity_(note.velocity), gains_(panGains(note.pan))
    {
    }
    bool render(float* left, float* right, int frames) override
    {
        const double stepLeft = hz_ * centsToRatio(-3.0) / kRate;
        const double stepRight = hz_ * centsToRatio(3.0) / kRate;
        for (int i = 0; i < frames; ++i) {
            const double soft = index_ * softIndex_;
            const double glass = 0.7 * glassIndex_;
            softIndex_ *= 0.99996;    // about 0.6 s
            glassIndex_ *= 0.9998;    // about 0.1 s
            const float l = sine(phaseLeft_ + soft * sine(2.0 * phaseLeft_) + glass * sine(3.5 * phaseLeft_));
            const float r = sine(phaseRight_ + soft * sine(2.0 * phaseRight_) + glass * sine(3.5 * phaseRight_));
            phaseLeft_ += stepLeft;
            phaseRight_ += stepRight;
            const float level = envelope_.next() * velocity_ * 0.7f;
            left[i] += (l * 0.8f + r * 0.2f) * level * gains_.left * 1.41f;
            right[i] += (r * 0.8f + l * 0.2f) * level * gains_.right * 1.41f;
            if (envelope_.finished())
                return false;
        }
        return true;
    }

private:
    Envelope envelope_;
    double hz_, index_;
    double phaseLeft_ = 0, phaseRight_ = 0;
    double softIndex_ = 1.0, glassIndex_ = 1.0;
    float velocity_;
    PanGains gains_;
};

} // namespace

std::unique_ptr<Voice> makeSynthVoice(const Note& note, uint32_t seed)
{
    switch (note.instrument) {
    case Instrument::Bass:
        return std::make_unique<BassVoice>(note, seed);
    case Instrument::Pad:
        return std::make_unique<PadVoice>(note, seed);
    case Instrument::Lead:
        return std::make_unique<LeadVoice>(note, seed);
    case Instrument::Pluck:
        return std::make_unique<PluckVoice>(note, seed);
    case Instrument::Bell:
        return std::make_unique<BellVoice>(note, seed);
    default:
        return nullptr;
    }
}

std::unique_ptr<Voice> makeVoice(const Note& note, uint32_t seed)
{
    if (std::unique_ptr<Voice> drum = makeDrumVoice(note, seed))
        return drum;
    return makeSynthVoice(note, seed);
}

} // namespace music
