#include "music/Envelope.h"

#include <algorithm>
#include <cmath>

namespace music {

Envelope::Envelope(const EnvelopeShape& shape, int64_t gateSamples, double sampleRate)
    : attackSamples_(std::max<int64_t>(1, static_cast<int64_t>(shape.attack * sampleRate))),
      gate_(std::max<int64_t>(1, gateSamples)),
      releaseSamples_(std::max<int64_t>(1, static_cast<int64_t>(shape.release * sampleRate))),
      sustain_(shape.sustain),
      decayCoef_(static_cast<float>(std::exp(-1.0 / (std::max(shape.decay, 1e-4) * sampleRate))))
{
}

float Envelope::releaseLevel()
{
    if (finished_)
        return 0.0f;
    const int64_t r = t_ - gate_;
    if (r >= releaseSamples_) {
        finished_ = true;
        return 0.0f;
    }
    const float u = 1.0f - static_cast<float>(r) / static_cast<float>(releaseSamples_);
    level_ = releaseFrom_ * u * u * u;
    ++t_;
    return level_;
}

} // namespace music
