// The 2-D helpers of the full-screen passes: an orthographic box set up in
// one call, and an axis-aligned quad drawn through the vendor layer's draw
// entry, so the emulated fragment stage (combiners, texture shaders) applies
// to it exactly when it is switched on; and the pixel box a pass may be held
// to.
//
// Both change GL state on the current context: setOrthoBox replaces the
// projection and model-view matrices and leaves the matrix mode at
// GL_MODELVIEW; drawQuad draws with whatever colour, texture and blending the
// caller set.
#pragma once

#include <initializer_list>

// Corners of a quad: (x0, y0) is drawn first, then (x1, y0), (x1, y1), (x0, y1).
struct QuadCorners {
    float x0, y0, x1, y1;
};

// A rectangle of window pixels, origin bottom left, for passes held to the
// part of the screen where something was drawn.
struct ScreenBox {
    int x, y, width, height;
};

// Scissors to the viewport pixels that show `box` of a width x height
// picture stretched over the whole viewport (rounded outwards), and enables
// the scissor test.
void scissorToStretchedBox(const ScreenBox& box, int width, int height);

// Projection = the orthographic box, model-view = identity.
void setOrthoBox(double left, double right, double bottom, double top, double zNear, double zFar);

// The quad `at`, with the texture coordinates of `texture` at the matching
// corners (s at x, t at y).
void drawQuad(const QuadCorners& at, const QuadCorners& texture = {0, 0, 1, 1});

// Several quads in one draw, without texture coordinates.
void drawQuads(std::initializer_list<QuadCorners> quads);
