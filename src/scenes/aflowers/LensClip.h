// LensClip: clip planes around the picture a projector throws. A lens
// matrix takes a world position to texture coordinates (s, t, _, q); the
// picture lies where s and t run from 0 to q, ahead of the projector
// (q > 0) and mirrored behind it (q < 0). Each of the two sides is a
// pyramid of four planes, which is what GL clip planes can cut to.
#pragma once

#include "core/ShowMath.h"

#include <array>

using ClipPlane = std::array<double, 4>;

constexpr double lensAhead = 1.0;
constexpr double lensBehind = -1.0;

// The four planes (a, b, c, d: a x + b y + c z + d >= 0 inside) bounding
// the picture on side `side` (lensAhead or lensBehind) of the projector.
std::array<ClipPlane, 4> lensSidePlanes(const show::Mat4& lens, double side);

// Enables GL clip planes 0-3 on `side` of the lens. The planes are in world
// coordinates: call it while the camera is the model-view matrix.
void clipToLensSide(const show::Mat4& lens, double side);
// Disables GL clip planes 0-3.
void unclipLens();
