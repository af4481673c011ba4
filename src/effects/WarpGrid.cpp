#include "effects/WarpGrid.h"

#include "core/ScreenQuad.h"
#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

WarpGrid::WarpGrid(ResourceManager* resources)
    : Scene(resources), coords(static_cast<size_t>((columns + 1) * (rows + 1) * 2), 0.0f)
{
}

int WarpGrid::update(float time)
{
    computeWarp(time);
    draw();
    return 0;
}

void WarpGrid::computeWarp(float)
{
    for (int i = 0; i <= rows; ++i) {
        for (int j = 0; j <= columns; ++j) {
            float y = -1.0f + i * 2.0f / (rows + 1);
            float x = -1.0f + j * 2.0f / (columns + 1);
            // Pull towards the centre by the square of the distance, up to
            // the factor 1 / strength in the corners.
            const float distance = std::sqrt(x * x + y * y) / 1.4142135f;
            const float f = distance * distance;
            x += f * (x / strength - x);
            y += f * (y / strength - y);
            float* pair = &coords[(i * (columns + 1) + j) * 2];
            pair[0] = (x + 1.0f) * 0.5f * virtualScreenWidth;
            pair[1] = 420.0f + (y + 1.0f) * 0.5f * (60.0f - 420.0f);
        }
    }
}

void WarpGrid::draw() const
{
    setOrthoBox(0, width, height, 0, 0, 10);
    const float cellWidth = static_cast<float>(width) / columns;
    const float cellHeight = static_cast<float>(height) / rows;
    const int step = cellsPerQuad > 1 ? cellsPerQuad : 1;
    // The quads as one array instead of a call per coordinate.
    quads.clear();
    for (int e = 0; e < rows; e += step) {
        const int e1 = std::min(e + step, rows);
        for (int i = 0; i < columns; i += step) {
            const int i1 = std::min(i + step, columns);
            const float x0 = i * cellWidth, x1 = i1 * cellWidth;
            const float y0 = e * cellHeight, y1 = e1 * cellHeight;
            const struct {
                int column, row;
                float x, y;
            } corners[4] = {{i, e, x0, y0}, {i1, e, x1, y0}, {i1, e1, x1, y1}, {i, e1, x0, y1}};
            for (const auto& c : corners)
                quads.insert(quads.end(), {texS(c.column, c.row), texT(c.column, c.row), c.x, c.y});
        }
    }
    drawQuadCorners(quads);
}

void WarpGrid::drawQuadCorners(const std::vector<float>& corners)
{
    if (corners.empty())
        return;
    const GLsizei stride = 4 * sizeof(float);
    glClientActiveTexture(GL_TEXTURE0);
    glTexCoordPointer(2, GL_FLOAT, stride, corners.data());
    glVertexPointer(2, GL_FLOAT, stride, corners.data() + 2);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    nv::glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(corners.size() / 4));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
