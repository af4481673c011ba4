#include "music/Effects.h"

namespace music {

namespace {
// Comb and allpass lengths in samples at 44.1 kHz: mutually prime-ish so
// their echoes do not pile up on the same instants.
constexpr std::array<int, 8> kCombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> kAllpassLengths = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr int kPreDelay = 882;   // 20 ms keeps the dry attack clear of the tail
constexpr float kInputGain = 0.015f;
}

Reverb::Reverb(float roomSize, float damping) : preDelay_(2 * kPreDelay, 0.0f), feedback_(roomSize), damping_(damping)
{
    for (size_t c = 0; c < channels_.size(); ++c) {
        const int spread = c == 0 ? 0 : kStereoSpread;
        for (size_t k = 0; k < kCombLengths.size(); ++k)
            channels_[c].combs[k].buffer.assign(kCombLengths[k] + spread, 0.0f);
        for (size_t k = 0; k < kAllpassLengths.size(); ++k)
            channels_[c].allpasses[k].buffer.assign(kAllpassLengths[k] + spread, 0.0f);
        // Keeps low end out of the tail, where it would only turn to mud.
        channels_[c].inputHighpass.set(220, 0.2);
    }
}

float Reverb::processChannel(Channel& channel, float in)
{
    const float input = channel.inputHighpass.highpass(in) * kInputGain;
    float out = 0;
    for (Comb& comb : channel.combs) {
        const float y = comb.buffer[comb.pos];
        comb.store = StateVariableFilter::flush(y * (1.0f - damping_) + comb.store * damping_);
        comb.buffer[comb.pos] = input + comb.store * feedback_;
        if (++comb.pos == comb.buffer.size())
            comb.pos = 0;
        out += y;
    }
    for (Allpass& ap : channel.allpasses) {
        const float y = ap.buffer[ap.pos];
        ap.buffer[ap.pos] = StateVariableFilter::flush(out + y * 0.5f);
        if (++ap.pos == ap.buffer.size())
            ap.pos = 0;
        out = y - out;
    }
    return out;
}

void Reverb::process(const float* sendLeft, const float* sendRight, float* outLeft, float* outRight, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const float delayedLeft = preDelay_[2 * preDelayPos_];
        const float delayedRight = preDelay_[2 * preDelayPos_ + 1];
        preDelay_[2 * preDelayPos_] = sendLeft[i];
        preDelay_[2 * preDelayPos_ + 1] = sendRight[i];
        if (++preDelayPos_ == kPreDelay)
            preDelayPos_ = 0;
        outLeft[i] += processChannel(channels_[0], delayedLeft);
        outRight[i] += processChannel(channels_[1], delayedRight);
    }
}

PingPongDelay::PingPongDelay(int delaySamples, float feedback)
    : left_(delaySamples, 0.0f), right_(delaySamples, 0.0f), feedback_(feedback)
{
    darkenLeft_.setCutoff(5000);
    darkenRight_.setCutoff(5000);
    thin_.set(300, 0.2);
}

void PingPongDelay::process(const float* sendLeft, const float* sendRight, float* outLeft, float* outRight,
                            int frames)
{
    for (int i = 0; i < frames; ++i) {
        const float yl = left_[pos_];
        const float yr = right_[pos_];
        // The dry send enters on the left only; feedback crosses sides, so
        // the echoes bounce left, right, left.
        left_[pos_] = thin_.highpass(0.5f * (sendLeft[i] + sendRight[i])) + darkenLeft_.process(yr) * feedback_;
        right_[pos_] = darkenRight_.process(yl) * feedback_;
        if (++pos_ == left_.size())
            pos_ = 0;
        outLeft[i] += yl;
        outRight[i] += yr;
    }
}

} // namespace music
