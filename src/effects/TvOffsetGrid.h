// TvOffsetGrid: offsets that roll and wave the picture like a badly tuned
// television. Each `regenerate(a)` recomputes every entry from the phase a,
// one random draw of up to `maxn`, and the scale `s` x (`sx`, `sy`).
#pragma once

#include "effects/OffsetTexture.h"

class TvOffsetGrid : public OffsetTexture {
public:
    TvOffsetGrid(int columns, int rows, float maxn) : OffsetTexture(columns, rows), maxn(maxn) {}

    void regenerate(float a) override;

    float maxn;
    float s = 1.0f;
    float sx = 1.0f;
    float sy = 1.0f;
};
