#include "scenes/shadow/GridFace.h"

#include "programs/NvExtensions.h"

show::Vec3 gridPoint(const GridFace& face, float a, float b)
{
    return {face.corner[0] + a * face.u[0] + b * face.v[0], face.corner[1] + a * face.u[1] + b * face.v[1],
            face.corner[2] + a * face.u[2] + b * face.v[2]};
}

void drawGridFace(const GridFace& face, int cells)
{
    const float step = 1.0f / static_cast<float>(cells);
    for (int strip = 0; strip < cells; ++strip) {
        const float a0 = strip * step;
        const float a1 = (strip + 1) * step;
        nv::glBegin(GL_QUAD_STRIP);
        glNormal3fv(face.normal);
        for (int pair = 0; pair <= cells; ++pair) {
            const show::Vec3 p0 = gridPoint(face, a0, pair * step);
            const show::Vec3 p1 = gridPoint(face, a1, pair * step);
            glVertex3f(p0.x, p0.y, p0.z);
            glVertex3f(p1.x, p1.y, p1.z);
        }
        glEnd();
    }
}
