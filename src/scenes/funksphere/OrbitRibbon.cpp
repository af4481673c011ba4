#include "scenes/funksphere/OrbitRibbon.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <cmath>

using show::random;
using show::remap;
using show::Vec3;

OrbitRibbon::OrbitRibbon()
{
    float phi = random(0, 6.28318f);
    float theta = random(0, 3.14159f);
    for (int i = 0; i < pointCount; ++i) {
        theta += random(0.1f, 1.0f);
        phi += 1.0f;
        const float rho = 120.0f + random(0, 1000);
        path_.append(Vec3(rho * std::sin(theta) * std::cos(phi), rho * std::sin(theta) * std::sin(phi),
                          rho * std::cos(theta)));
    }
}

void OrbitRibbon::advance(float t)
{
    const float x = t / 2.0f;
    if (!clockStarted) {
        previousTime = x;
        clockStarted = true;
    }
    const Vec3 point = path_.position(previousTime);
    if (!trailStarted) {
        // A fresh trail starts where the ribbon is, not in the sphere's middle.
        ring.fillEdges(point);
        trailStarted = true;
    }
    ring.add(point, path_.position(previousTime + lookAhead) - point);
    previousTime = x;
}

void OrbitRibbon::draw(float t)
{
    advance(t);
    nv::glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < ringSize; ++i) {
        const RibbonSection& entry = ring.section(i);
        glColor4f(remap(entry.side.x, -1, 1, 0, 1), 0, remap(entry.side.z, -1, 1, 0, 1),
                  0.3f * remap(static_cast<float>(i), 0, ringSize, 0.5f, 0));
        glVertex3f(entry.left.x, entry.left.y, entry.left.z);
        glVertex3f(entry.right.x, entry.right.y, entry.right.z);
    }
    glEnd();
}
