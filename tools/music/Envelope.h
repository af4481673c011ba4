// The amplitude envelope every voice uses: a linear attack from silence, an
// exponential decay toward the sustain level while the gate is open, and a
// release that reaches exactly zero (a cubic fade) after the gate closes.
// Starting from zero and ending at zero is what keeps note boundaries free of
// clicks; an attack of at least a millisecond keeps onsets soft enough too.
#pragma once

#include <cstdint>

namespace music {

struct EnvelopeShape {
    double attack = 0.005;   // seconds
    double decay = 0.3;      // seconds, time constant toward the sustain level
    float sustain = 1.0f;
    double release = 0.05;   // seconds
};

class Envelope {
public:
    Envelope(const EnvelopeShape& shape, int64_t gateSamples, double sampleRate = 44100.0);

    float next()
    {
        if (t_ < gate_) {
            if (t_ < attackSamples_) {
                level_ = static_cast<float>(t_) / static_cast<float>(attackSamples_);
            } else {
                level_ = sustain_ + (1.0f - sustain_) * decayState_;
                decayState_ *= decayCoef_;
            }
            releaseFrom_ = level_;
            ++t_;
            return level_;
        }
        return releaseLevel();
    }
    bool finished() const { return finished_; }

private:
    float releaseLevel();

    int64_t t_ = 0;
    int64_t attackSamples_;
    int64_t gate_;
    int64_t releaseSamples_;
    float sustain_;
    float decayCoef_;
    float decayState_ = 1.0f;   // distance above sustain, 1 at the attack's peak
    float level_ = 0.0f;
    float releaseFrom_ = 0.0f;
    bool finished_ = false;
};

} // namespace music
