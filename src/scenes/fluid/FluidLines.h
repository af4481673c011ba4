// FluidLines: the fluid's velocity field as vertex data for one
// GL_LINE_STRIP, drawn faintly over the fluid scene. For each column of the
// solver's grid the strip visits a vertex at the top of the screen, one per
// row displaced by 500 x the velocity there, and one at the bottom, so it runs
// on from the end of one column into the start of the next. Colours follow
// immediate mode: a vertex with no colour of its own repeats the one before,
// and the first is white. Positions are on the 640 x 480 screen, y down;
// colours are left unclamped (GL clamps them). Nothing here draws; update()
// rewrites the vertices in place and allocates nothing.
#pragma once

#include <vector>

class FluidSolver;

struct FluidLineVertex {
    float x, y;
    float red, green, blue, alpha;
};

class FluidLines {
public:
    FluidLines();

    void update(const FluidSolver& solver);
    const std::vector<FluidLineVertex>& vertices() const { return strip; }

private:
    std::vector<FluidLineVertex> strip;
};
