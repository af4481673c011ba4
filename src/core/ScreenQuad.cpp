#include "core/ScreenQuad.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <cmath>

void setOrthoBox(double left, double right, double bottom, double top, double zNear, double zFar)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void drawQuad(const QuadCorners& at, const QuadCorners& texture)
{
    nv::glBegin(GL_QUADS);
    glTexCoord2f(texture.x0, texture.y0); glVertex2f(at.x0, at.y0);
    glTexCoord2f(texture.x1, texture.y0); glVertex2f(at.x1, at.y0);
    glTexCoord2f(texture.x1, texture.y1); glVertex2f(at.x1, at.y1);
    glTexCoord2f(texture.x0, texture.y1); glVertex2f(at.x0, at.y1);
    glEnd();
}

void drawQuads(std::initializer_list<QuadCorners> quads)
{
    nv::glBegin(GL_QUADS);
    for (const QuadCorners& q : quads) {
        glVertex2f(q.x0, q.y0);
        glVertex2f(q.x1, q.y0);
        glVertex2f(q.x1, q.y1);
        glVertex2f(q.x0, q.y1);
    }
    glEnd();
}

void scissorToStretchedBox(const ScreenBox& box, int width, int height)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double sx = static_cast<double>(viewport[2]) / width;
    const double sy = static_cast<double>(viewport[3]) / height;
    const int x0 = viewport[0] + static_cast<int>(std::floor(box.x * sx));
    const int y0 = viewport[1] + static_cast<int>(std::floor(box.y * sy));
    const int x1 = viewport[0] + static_cast<int>(std::ceil((box.x + box.width) * sx));
    const int y1 = viewport[1] + static_cast<int>(std::ceil((box.y + box.height) * sy));
    glScissor(x0, y0, x1 - x0, y1 - y0);
    glEnable(GL_SCISSOR_TEST);
}
