// TitleReach: the pixels a projected title word can change. A word's picture
// is black outside its lit box, and black light adds nothing, so the word's
// pass need only touch the pixels that show a point of the scene whose
// texture coordinates fall in that box: a point inside the scene's bounding
// box, in front of the projector, between the four planes through the
// projector and the lit box's edges, and in the camera's view. Those planes
// bound a convex body; its corners, projected, bound the pixels.
//
// Pure arithmetic; the scene scissors its passes to the result.
#pragma once

#include "core/ScreenQuad.h"
#include "core/ShowMath.h"

#include <cstdint>
#include <optional>
#include <vector>

// The texture coordinates (0..1, t = 0 at the picture's first row) of the
// part of a picture that is not black, a texel wider on every side for the
// linear filter. A side that reaches the picture's edge is open (infinite):
// clamped to its edge, the picture repeats that edge's texels beyond it.
struct LitBox {
    bool empty = true;
    float s0 = 0.0f, s1 = 0.0f, t0 = 0.0f, t1 = 0.0f;
};
LitBox litBoxOf(const uint8_t* pixels, int width, int height, int channels);

// The points (a, b, c) . p + d >= 0 lie inside.
struct Plane {
    double a, b, c, d;
};

// Points whose coordinates, through `texture` (a point to s, t, r, q) and
// divided by q, fall in `box`, with q > 0: in front of the projector.
std::vector<Plane> litPlanes(const show::Mat4& texture, const LitBox& box);
// Points the camera `viewProjection` (a point to clip coordinates) sees.
std::vector<Plane> viewPlanes(const show::Mat4& viewProjection);
// Points inside the box lo..hi.
std::vector<Plane> boxPlanes(const show::Vec3& lo, const show::Vec3& hi);

// The pixels of `viewport` (x, y, width, height) that show the body the
// planes bound, rounded outwards with a pixel to spare; nothing when the
// body is empty. The planes must include the camera's own, so the body is
// bounded and in front of it.
std::optional<ScreenBox> screenReach(const std::vector<Plane>& planes, const show::Mat4& viewProjection,
                                     const ScreenBox& viewport);
