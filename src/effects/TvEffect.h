// "TV": rolls and waves the picture through a TvOffsetGrid of "width" x
// "height" entries with the random reach "maxn". The var "t" is the phase
// (one unit is three turns), "interp" the strength; at 0.01 or less the
// frame is left untouched.
#pragma once

#include "effects/OffsetWarpFilter.h"

class TvOffsetGrid;

class TvEffect : public OffsetWarpFilter {
public:
    TvEffect(ResourceManager* resources, int width, int height);

    int update(float localTime) override;
    void finishLoad() override;

    int gridWidth = 32;
    int gridHeight = 32;
    float maxn = 0.0f;

private:
    TvOffsetGrid* tvGrid = nullptr;
    EffectVar* interp = nullptr;
    EffectVar* phase = nullptr;
};
