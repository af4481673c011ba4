// One flat face drawn as a grid of quads, strip by strip, for the boxes of
// the shadow room (the room's walls and the logo's boxes): finely divided
// faces light evenly under per-vertex spot lighting and take projected
// shadows without long interpolated spans.
#pragma once

#include "core/ShowMath.h"

struct GridFace {
    float corner[3];   // where the first strip starts
    float u[3];        // the whole face along the strips' steps
    float v[3];        // the whole face along each strip
    float normal[3];   // u x v points the same way, so the face winds counter-clockwise
};

// The point at (a, b) of the face, both in [0, 1]: a along u, b along v.
show::Vec3 gridPoint(const GridFace& face, float a, float b);

// `cells` quad strips of `cells` + 1 vertex pairs, one normal for the face:
// strip s runs from a = s / cells to (s + 1) / cells, pair k sits at
// b = k / cells.
// Draws through the vendor layer; must not be called between begin and end.
void drawGridFace(const GridFace& face, int cells);
