// The mix's space: a stereo reverb and a ping-pong echo. Both are fed from
// send levels of the buses and return into the master. They hold their own
// state, so one instance must run through the whole track in order.
#pragma once

#include "music/Filters.h"

#include <array>
#include <vector>

namespace music {

// A Schroeder-Moorer reverb: eight damped feedback combs in parallel, then
// four allpasses in series, per channel; the right channel's delays are a
// little longer, which decorrelates the sides and widens the tail.
class Reverb {
public:
    Reverb(float roomSize, float damping);
    // Adds the reverb of the send signal into outLeft/outRight.
    void process(const float* sendLeft, const float* sendRight, float* outLeft, float* outRight, int frames);

private:
    struct Comb {
        std::vector<float> buffer;
        size_t pos = 0;
        float store = 0;
    };
    struct Allpass {
        std::vector<float> buffer;
        size_t pos = 0;
    };
    struct Channel {
        std::array<Comb, 8> combs;
        std::array<Allpass, 4> allpasses;
        StateVariableFilter inputHighpass;
    };
    float processChannel(Channel& channel, float in);

    std::array<Channel, 2> channels_;
    std::vector<float> preDelay_;   // interleaved pairs
    size_t preDelayPos_ = 0;
    float feedback_;
    float damping_;
};

// Echoes a dotted eighth apart that alternate between left and right, each
// a little darker than the one before.
class PingPongDelay {
public:
    PingPongDelay(int delaySamples, float feedback);
    void process(const float* sendLeft, const float* sendRight, float* outLeft, float* outRight, int frames);

private:
    std::vector<float> left_, right_;
    size_t pos_ = 0;
    float feedback_;
    OnePole darkenLeft_, darkenRight_;
    StateVariableFilter thin_;
};

} // namespace music
