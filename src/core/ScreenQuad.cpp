#include "core/ScreenQuad.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

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
