#include "scenes/flowers/Vine.h"

#include "programs/NvExtensions.h"

#include <cmath>

using show::Vec3;

Vine::Vine() : ring(trailLength, 1.0f, Vec3(0.0f, 0.0f, 1.0f))
{
    float phi = show::random(0.0f, 6.28318f);
    for (int k = 0; k < 5; ++k) {
        spine.append(Vec3(3.0f * std::cos(phi), 24.0f * k, 3.0f * std::sin(phi)));
        phi += 1.256636f;
    }
    float psi = show::random(0.0f, 6.28318f);
    float theta = show::random(0.0f, 3.14159f);
    for (int k = 0; k < 95; ++k) {
        theta += show::random(-1.0f, 1.0f);
        psi += 1.0f;
        spine.append(Vec3(60.0f * std::sin(theta) * std::cos(psi), 60.0f * std::sin(theta) * std::sin(psi),
                          60.0f * std::cos(theta)));
    }
    spine.buildArcTable();
    spine.setArcLengthMode(true);
}

Vec3 Vine::sectionColour(const Vec3& side)
{
    return Vec3(show::remap(side.x, -1.0f, 1.0f, 0.0f, 1.0f), 0.0f, show::remap(side.z, -1.0f, 1.0f, 0.0f, 1.0f));
}

void Vine::draw(float time)
{
    const float x = time / 2.0f;
    if (lastTime == -1.0f) {
        // The trail starts where the vine does rather than at the origin.
        ring.fillEdges(spine.position(x));
    } else if (lastTime != x) {
        const Vec3 at = spine.position(lastTime);
        ring.add(at, spine.position(lastTime + lookAhead) - at);
    }
    lastTime = x;

    nv::glBegin(GL_QUAD_STRIP);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int i = 0; i < trailLength; ++i) {
        const RibbonSection& s = ring.section(i);
        const Vec3 c = sectionColour(s.side);
        glColor4f(c.x, c.y, c.z, show::remap(static_cast<float>(i), 0.0f, trailLength, 0.4f, 0.0f));
        glVertex3f(s.left.x, s.left.y, s.left.z);
        glVertex3f(s.right.x, s.right.y, s.right.z);
    }
    glEnd();
}
