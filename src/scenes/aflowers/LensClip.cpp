#include "scenes/aflowers/LensClip.h"

#include <epoxy/gl.h>

std::array<ClipPlane, 4> lensSidePlanes(const show::Mat4& lens, double side)
{
    std::array<ClipPlane, 4> planes;
    for (int i = 0; i < 4; ++i) {
        const double s = lens.at(0, i), t = lens.at(1, i), q = lens.at(3, i);
        planes[0][i] = side * s;
        planes[1][i] = side * t;
        planes[2][i] = side * (q - s);
        planes[3][i] = side * (q - t);
    }
    return planes;
}

void clipToLensSide(const show::Mat4& lens, double side)
{
    const std::array<ClipPlane, 4> planes = lensSidePlanes(lens, side);
    for (int i = 0; i < 4; ++i) {
        glClipPlane(GL_CLIP_PLANE0 + i, planes[i].data());
        glEnable(GL_CLIP_PLANE0 + i);
    }
}

void unclipLens()
{
    for (int i = 0; i < 4; ++i)
        glDisable(GL_CLIP_PLANE0 + i);
}
