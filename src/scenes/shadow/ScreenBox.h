// The window rectangle that a sphere or a block covers under a projection
// and a model-view, for passes that only need to work where something was
// drawn (the shadow room's glow is black away from its logo).
#pragma once

#include "core/ScreenQuad.h"

// The box of the sphere (centre, radius) in a viewport of viewportWidth x
// viewportHeight, grown by `margin` pixels on every side and held inside the
// viewport. False when part of the sphere reaches behind the eye, where no
// box bounds it; the caller then works on the whole viewport.
bool sphereScreenBox(const float (&projection)[16], const float (&modelView)[16], const float (&centre)[3],
                     float radius, int viewportWidth, int viewportHeight, int margin, ScreenBox& box);

// The same for the block between the corners `low` and `high` (in the
// model-view's object frame); false when a corner lies behind the eye.
bool blockScreenBox(const float (&projection)[16], const float (&modelView)[16], const float (&low)[3],
                    const float (&high)[3], int viewportWidth, int viewportHeight, int margin, ScreenBox& box);
