#include "scenes/flowers/Petal.h"

#include <cmath>

using show::Vec3;

PetalGeometry::PetalGeometry()
{
    int drawn = 0;
    for (int k = 0; k < pairs; k += k < tipStart ? 2 : 1) {
        indices[static_cast<size_t>(drawn++)] = static_cast<unsigned short>(2 * k);
        indices[static_cast<size_t>(drawn++)] = static_cast<unsigned short>(2 * k + 1);
    }
    for (int k = 0; k < pairs; ++k) {
        const float t = k / 60.0f;
        for (int v = 0; v < 2; ++v)
            for (int c = 0; c < 3; ++c)
                texCoords[3 * (2 * k + v) + c] = t;
    }
}

void PetalGeometry::build(float opening, float sizeDivisor, float lift)
{
    const float w = Petal::halfWidth;
    const float step = 3.89159f / Petal::segments;
    auto put = [this](int k, const Vec3& a, const Vec3& b, const Vec3& n) {
        const Vec3 corners[2] = {a, b};
        for (int v = 0; v < 2; ++v) {
            float* p = &positions[3 * (2 * k + v)];
            p[0] = corners[v].x, p[1] = corners[v].y, p[2] = corners[v].z;
            float* q = &normals[3 * (2 * k + v)];
            q[0] = n.x, q[1] = n.y, q[2] = n.z;
        }
    };
    const Vec3 rootNormal(0.0f, 1.0f, 0.0f);
    put(0, Vec3(0.0f, lift, -w), Vec3(0.0f, lift, w), rootNormal);

    // Normals come from the unscaled, unlifted curve: each quad's normal is
    // the cross product of the edge back along the strip with the edge
    // across it, and a pair takes the sum of its two quads' normals.
    float xPrev = 0.0f, yPrev = 0.0f;
    Vec3 quadPrev = rootNormal;
    for (int k = 1; k < pairs; ++k) {
        const float theta = -0.75f + (k - 1) * step;
        const float r = 4.0f * (theta + 0.75f);
        const float phi = theta * (1.0f - opening) * 0.5f;
        const float x = r * std::cos(phi), y = r * std::sin(phi);
        const Vec3 quad(2 * w * (yPrev - y), -2 * w * (xPrev - x), 0.0f);
        const float sx = x / sizeDivisor, sy = y / sizeDivisor + lift;
        put(k, Vec3(sx, sy, -w / sizeDivisor), Vec3(sx, sy, w / sizeDivisor), quad + quadPrev);
        xPrev = x, yPrev = y;
        quadPrev = quad;
    }
}
