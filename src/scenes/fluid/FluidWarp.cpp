#include "scenes/fluid/FluidWarp.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <algorithm>

FluidWarp::FluidWarp(ResourceManager* resources) : WarpGrid(resources)
{
}

void FluidWarp::computeWarp(float)
{
    solver.step();
    const std::vector<float>& next = solver.texCoords();
    std::copy(next.begin(), next.end(), coords.begin());
}

void FluidWarp::drawVelocityLines()
{
    if (!drawLines)
        return;
    lines.update(solver);
    const std::vector<FluidLineVertex>& strip = lines.vertices();
    glLineWidth(2.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(FluidLineVertex), &strip[0].x);
    glColorPointer(4, GL_FLOAT, sizeof(FluidLineVertex), &strip[0].red);
    nv::glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(strip.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glLineWidth(1.0f);
}
