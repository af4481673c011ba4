// The virtual screen every scene and overlay lays its 2-D geometry out on,
// whatever the window's real size: the projection maps it onto the viewport.
#pragma once

constexpr int virtualScreenWidth = 640;
constexpr int virtualScreenHeight = 480;
// The show's black bars cover this many rows at the top and at the bottom.
constexpr int letterboxBarHeight = virtualScreenHeight / 12;
