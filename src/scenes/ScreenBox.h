// The window rectangle that a sphere covers under a projection and a
// model-view, for passes that only need to work where something was drawn
// (the shadow room's glow is black away from its logo).
#pragma once

struct ScreenBox {
    int x, y, width, height;   // window pixels, origin bottom left
};

// The box of the sphere (centre, radius) in a viewport of viewportWidth x
// viewportHeight, grown by `margin` pixels on every side and held inside the
// viewport. False when part of the sphere reaches behind the eye, where no
// box bounds it; the caller then works on the whole viewport.
bool sphereScreenBox(const float (&projection)[16], const float (&modelView)[16], const float (&centre)[3],
                     float radius, int viewportWidth, int viewportHeight, int margin, ScreenBox& box);
