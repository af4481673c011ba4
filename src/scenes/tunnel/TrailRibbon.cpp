#include "scenes/tunnel/TrailRibbon.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

using show::Vec3;

DepthFog DepthFog::ofCurrentView(float end)
{
    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    return DepthFog{{view[2], view[6], view[10], view[14]}, end};
}

float DepthFog::factor(const Vec3& p) const
{
    const float depth = std::fabs(depthRow[0] * p.x + depthRow[1] * p.y + depthRow[2] * p.z + depthRow[3]);
    return std::min(std::max(depth * (-1.0f / end) + 1.0f, 0.0f), 1.0f);
}

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

void TrailRibbon::drawFrame(float x, const Vec3& tint, const DepthFog& fog)
{
    const float head = x + offset - 1.0f;
    const Vec3 ahead = path.position(std::fmod(std::max(head + 1.0f, 0.0f), timeWrap));
    const Vec3 at = path.position(std::fmod(std::max(head, 0.0f), timeWrap));
    ring.add(at, ahead - at);
    const Vec3 c = ownColour + tint;
    const Vec3 colour(c.x * 0.5f + 0.1f, 0.2f, c.z * 0.5f + 0.1f);
    constexpr float alpha = 0.125f;
    // One array for the strip: a hundred ribbons make 30 000 vertices a
    // frame, too many to hand over one call each.
    constexpr int stride = 7;   // x, y, z, r, g, b, a
    strip.resize(static_cast<size_t>(ring.size()) * 2 * stride);
    float* out = strip.data();
    for (int age = 0; age < ring.size(); ++age) {
        const RibbonSection& s = ring.section(age);
        for (const Vec3* p : {&s.left, &s.right}) {
            const Vec3 fogged = colour * fog.factor(*p);
            out[0] = p->x, out[1] = p->y, out[2] = p->z;
            out[3] = fogged.x, out[4] = fogged.y, out[5] = fogged.z, out[6] = alpha;
            out += stride;
        }
    }
    const GLsizei bytes = stride * sizeof(float);
    glVertexPointer(3, GL_FLOAT, bytes, strip.data());
    glColorPointer(4, GL_FLOAT, bytes, strip.data() + 3);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    nv::glDrawArrays(GL_QUAD_STRIP, 0, 2 * ring.size());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
