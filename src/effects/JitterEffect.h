// "Jitter": shakes the picture through a JitterTexture of "width" x
// "height" offsets whose strength is the int parameter "divAmt". The var
// "jitter" is the running time the texture decays by; at 0.01 or less the
// frame is left untouched.
#pragma once

#include "effects/OffsetWarpFilter.h"

class JitterEffect : public OffsetWarpFilter {
public:
    JitterEffect(ResourceManager* resources, int width, int height);

    int update(float localTime) override;
    void finishLoad() override;

    int gridWidth = 32;
    int gridHeight = 32;
    int divAmt = 0;

private:
    EffectVar* jitter = nullptr;
};
