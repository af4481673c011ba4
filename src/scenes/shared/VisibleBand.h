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
#pragma once

#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"

class KeyEffects;
class ResourceManager;

constexpr int visibleBandMargin = 4;
constexpr ScreenBox visibleBand{0, letterboxBarHeight - visibleBandMargin, virtualScreenWidth,
                                virtualScreenHeight - 2 * (letterboxBarHeight - visibleBandMargin)};

// The show's key-effect accents, which a scene asks before holding a frame
// to the band; null when the show has none.
const KeyEffects* showAccents(ResourceManager& resources);

// Sets the scissor box to the band for the current viewport and enables the
// scissor test, unless `accents` will move this frame's pixels (the jitter
// shakes rows, the blur spreads them), which brings rows from under the
// bars into view. The caller switches the test off again.
void scissorToVisibleBand(const KeyEffects* accents);
