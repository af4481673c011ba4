// The band of every frame that the show's letterbox bars leave in view: the
// bars, drawn over each finished frame, cover the top and bottom twelfth of
// the virtual screen. A pass whose pixels are never read back from under
// the bars (no copy of them comes into view later) can be held to the band
// and spend nothing on pixels nobody sees.
//
// The band reaches a few rows under each bar: on a screen larger than the
// virtual one, a copy is shrunk to the virtual size and stretched back with
// linear filtering, so the rows just inside a bar still reach the visible
// rows next to it.
//
// scissorToVisibleBand() sets the scissor box for the current viewport and
// enables the scissor test; the caller switches it off again.
#pragma once

#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"

constexpr int letterboxBarHeight = virtualScreenHeight / 12;
constexpr int visibleBandMargin = 4;
constexpr ScreenBox visibleBand{0, letterboxBarHeight - visibleBandMargin, virtualScreenWidth,
                                virtualScreenHeight - 2 * (letterboxBarHeight - visibleBandMargin)};

inline void scissorToVisibleBand()
{
    scissorToStretchedBox(visibleBand, virtualScreenWidth, virtualScreenHeight);
}
