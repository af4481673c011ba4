#include "effects/WarpGrid.h"

#include "core/ScreenQuad.h"
#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

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
    nv::glBegin(GL_QUADS);
    for (int e = 0; e < rows; ++e) {
        for (int i = 0; i < columns; ++i) {
            const float x0 = i * cellWidth, x1 = (i + 1) * cellWidth;
            const float y0 = e * cellHeight, y1 = (e + 1) * cellHeight;
            glTexCoord2f(texS(i, e), texT(i, e));         glVertex3f(x0, y0, 0);
            glTexCoord2f(texS(i + 1, e), texT(i + 1, e)); glVertex3f(x1, y0, 0);
            glTexCoord2f(texS(i + 1, e + 1), texT(i + 1, e + 1)); glVertex3f(x1, y1, 0);
            glTexCoord2f(texS(i, e + 1), texT(i, e + 1)); glVertex3f(x0, y1, 0);
        }
    }
    glEnd();
}
