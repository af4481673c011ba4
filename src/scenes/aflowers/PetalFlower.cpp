#include "scenes/aflowers/PetalFlower.h"

#include "core/ShowMath.h"
#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <cmath>

using show::remap;

void PetalFan::appendFan(float t, std::vector<PetalVertex>& fan) const
{
    const float theta = remap(std::sin(t), -1.0f, 1.0f, openingMin, openingMax);
    const float c = std::sin(theta);
    const float angularStep = span / (6.28318f * c);
    float r = c;
    const float keep = c * radiusKeep + (1.0f - radiusKeep);
    fan.push_back({{255, 255, 255, 0}, {0.0f, 0.0f, 0.0f}});
    for (int j = 0; j < vertexCount; ++j) {
        const float phi = phase + startAngle + j * angularStep;
        const show::Vec3 v = show::Vec3(r * std::sin(phi), r * std::cos(phi), std::cos(theta)).normalized() * scale;
        const int u = static_cast<int>(remap(static_cast<float>(j), 0.0f, 14.0f, 10.0f, 50.0f));
        fan.push_back({{static_cast<unsigned char>((u * 25) >> 7), static_cast<unsigned char>((u * 67) >> 8),
                        static_cast<unsigned char>((u * 149) >> 8), static_cast<unsigned char>(u)},
                       {v.x, v.y, v.z}});
        r *= keep;
    }
}

PetalFlower::PetalFlower(ResourceManager* resources, int rings, int petalsPerRing)
    : Scene(resources), rings(rings), petalsPerRing(petalsPerRing)
{
    const float ringCount = static_cast<float>(rings);
    for (int i = 0; i < rings; ++i) {
        for (int k = 0; k < petalsPerRing; ++k) {
            PetalFan fan;
            fan.startAngle = 6.28318f * k / petalsPerRing;
            fan.radiusKeep = 0.9f;
            fan.openingMin = 0.2f + remap(static_cast<float>(i), 0.0f, ringCount, 0.1f, 0.0f);
            fan.openingMax = 1.770795f - 0.1f * remap(static_cast<float>(i), 0.0f, ringCount, 0.0f, 10.0f);
            fan.scale = remap(static_cast<float>(i), 0.0f, ringCount, 20.0f, 0.5f);
            fan.phase = i * 0.39269876f;
            petals.push_back(fan);
        }
    }
    const show::Mat4 identity = show::Mat4::identity();
    for (int i = 0; i < 16; ++i)
        placement[i] = identity.m[i];
    timeOffset = show::random(0.0f, 0.5f);
    rotationOffset = show::random(-20.0f, 20.0f);
}

int PetalFlower::update(float time)
{
    glPushMatrix();
    glRotatef(rotationOffset + 45.0f, 0.0f, 1.0f, 0.0f);
    fans.clear();
    fanStarts.clear();
    fanSizes.clear();
    for (const PetalFan& petal : petals) {
        fanStarts.push_back(static_cast<int>(fans.size()));
        petal.appendFan(time + timeOffset, fans);
        fanSizes.push_back(static_cast<int>(fans.size()) - fanStarts.back());
    }
    if (!fans.empty())
        drawFans();
    glPopMatrix();
    return 0;
}

// All the fans in one call instead of a call per corner, in the same order,
// so they add up as before.
void PetalFlower::drawFans() const
{
    const GLsizei stride = sizeof(PetalVertex);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, fans.data()->colour);
    glVertexPointer(3, GL_FLOAT, stride, fans.data()->position);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    nv::prepareDraw();
    glMultiDrawArrays(GL_TRIANGLE_FAN, fanStarts.data(), fanSizes.data(), static_cast<GLsizei>(fanStarts.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}

void PetalFlower::drawPlaced(float time)
{
    glPushMatrix();
    glMultMatrixf(placement);
    update(time);
    glPopMatrix();
}
