#include "scenes/TrailRibbon.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

using show::Vec3;

TrailRibbon::TrailRibbon() : ring(trailLength, 1.0f)
{
    radiusNow = show::random(1.0f, 10.0f) + 5.0f;
    radiusNext = show::random(1.0f, 10.0f) + 5.0f;
    angle = show::random(0.0f, 6.28318f);
    angularStep = show::random(0.1f, 2.0f);
    const float b = show::random(0.0f, 3.0f);
    offset = (b + 1.0f) * (b + 1.0f);
    ownColour.x = show::random(0.0f, 0.5f);
    ownColour.y = show::random(0.0f, 0.5f);
    ownColour.z = show::random(0.0f, 0.5f);
}

void TrailRibbon::appendPoint(const show::Mat4& inverseCamera)
{
    const float radius = show::lerp(static_cast<float>(counter % 5) * 0.2f, radiusNow, radiusNext);
    const Vec3 point =
        inverseCamera.transformPoint(Vec3(radius * std::cos(angle), 0.0f, radius * std::sin(angle)));
    if (path.empty())
        ring.fillEdges(point);
    path.append(point);
    ++counter;
    angle += angularStep;
    if (counter % 5 == 0) {
        radiusNow = radiusNext;
        radiusNext = show::random(1.0f, 10.0f) + 5.0f;
    }
}

void TrailRibbon::drawFrame(float x, const Vec3& tint)
{
    const float head = x + offset - 1.0f;
    const Vec3 ahead = path.position(std::fmod(std::max(head + 1.0f, 0.0f), timeWrap));
    const Vec3 at = path.position(std::fmod(std::max(head, 0.0f), timeWrap));
    ring.add(at, ahead - at);
    const Vec3 c = ownColour + tint;
    glColor4f(c.x * 0.5f + 0.1f, 0.2f, c.z * 0.5f + 0.1f, 0.125f);
    nv::glBegin(GL_QUAD_STRIP);
    for (int age = 0; age < ring.size(); ++age) {
        const RibbonSection& s = ring.section(age);
        glVertex3f(s.left.x, s.left.y, s.left.z);
        glVertex3f(s.right.x, s.right.y, s.right.z);
    }
    glEnd();
}
