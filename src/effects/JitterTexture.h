// JitterTexture: offsets that shake the picture. While `strength` is not 0
// every component is a fresh random value of about ±strength x 0.0005; the
// strength then decays by `decayRate` x 250 per second of the times given
// to `regenerate`, and drops to 0 below 2.
#pragma once

#include "effects/OffsetTexture.h"

class JitterTexture : public OffsetTexture {
public:
    JitterTexture(int columns, int rows) : OffsetTexture(columns, rows) {}

    // `time` is seconds (or any running time); the first call, and the first
    // after start, decays nothing.
    void regenerate(float time) override;
    // A new shake of `strength`, decaying at `decayRate` from its first frame.
    void start(int strength, float decayRate);

    int strength = 0;
    float decayRate = 0.0f;
    float lastTime = 0.0f;

private:
    bool clockRunning = false;
};
