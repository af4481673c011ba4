// "PullWarp": redraws the picture drawn so far through the shared warp grid
// ("PullWarp"), so it seems pulled towards the viewer. The var "pull" sets
// how hard (the grid's strength is 2 x pull), "alpha" the opacity of the
// warped copy; the int parameter "clear" clears the screen before drawing.
// While either var is at most 0.001 the frame is left untouched.
//
// Borrows the warp grid and the copy-of-screen texture "CopyScreenb" from
// the resource manager's registry, which owns them. Honours the blending
// parameters; sets the matrices and leaves the copy texture disabled.
#pragma once

#include "effects/Effect.h"

class CopyScreen;
class WarpGrid;

class PullWarp : public Effect {
public:
    explicit PullWarp(ResourceManager* resources);
    int update(float localTime) override;

    int clear = 0;

private:
    WarpGrid* grid = nullptr;
    CopyScreen* copy = nullptr;
    EffectVar* pull = nullptr;
    EffectVar* alpha = nullptr;
};
