// One flat face drawn as a grid of quads, strip by strip, for the boxes of
// the shadow room (the room's walls and the logo's boxes): finely divided
// faces light evenly under per-vertex spot lighting and take projected
// shadows without long interpolated spans.
#pragma once

struct GridFace {
    float corner[3];   // where the first strip starts
    float u[3];        // the whole face along the strips' steps
    float v[3];        // the whole face along each strip
    float normal[3];   // u x v points the same way, so the face winds counter-clockwise
};

// `cells` quad strips of `cells` + 1 vertex pairs, one normal for the face.
// Draws through the vendor layer; must not be called between begin and end.
void drawGridFace(const GridFace& face, int cells);
