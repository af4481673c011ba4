#include "scenes/shadow/ShadowRoom.h"

#include "core/PassState.h"
#include "core/TextureUnits.h"
#include "effects/CircleMask.h"
#include "effects/PBuffer.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/shadow/GridFace.h"
#include "scenes/shadow/ScreenBox.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int kMapSize = 256;
constexpr float kOrbit = 40.0f;
constexpr float kThird = 2.0943933f;   // a third of a turn, in radians
// Light 0 turns at twice this many radians a second, and every next light
// twice as fast as the one before.
constexpr float kTurnRate = 0.25f;
constexpr float kTurnRateGrowth = 2.0f;
// Each light tilts out of its circle by up to this many radians, swinging at
// a third of its turning rate.
constexpr float kTiltAmplitude = 0.5f;
constexpr float kTiltRate = 0.33333334f;
// Each light's frustum: the room is 160 units wide.
constexpr float kLightNear = 1.0f;
constexpr float kLightFar = 160.0f;
constexpr float kLightFov = 45.0f;   // degrees
// A high spot exponent: bright in the middle of the cone, dim at its edge.
constexpr float kSpotExponent = 100.0f;
// The glow surface is half the frame's size, its blur strokes half as far
// apart: the glow reaches as far over the frame as a full-size one would,
// for a quarter of the pixels.
constexpr int kGlowSpread = 2;
// The glow box holds the logo, the blur's reach around it and two pixels
// to spare.
constexpr int kGlowSpare = 2;

// The depth of the room with the light its walls throw back, laid first.
constexpr PassState bouncePass{PassState::depthLess, PassState::opaque, PassState::lit};
// Each light adds its light where the bounce pass left the nearest surface.
constexpr PassState litPass{PassState::depthLessOrEqual, PassState::additive, PassState::lit, PassState::keepDepth};
// The logo's glow: its specular highlights, lit by every light.
constexpr PassState glowPass{PassState::depthLess, PassState::opaque, PassState::lit};
// What draw() leaves.
constexpr PassState restingState{PassState::depthLess, PassState::opaque, PassState::unlit};

GLDisplayList buildRoomList()
{
    const float h = 80.0f, w = 160.0f;
    // Six walls, normals facing into the room, in 10-unit cells.
    const GridFace walls[6] = {
        {{-h, -h, -h}, {w, 0, 0}, {0, w, 0}, {0, 0, 1}},
        {{-h, -h, h}, {0, w, 0}, {w, 0, 0}, {0, 0, -1}},
        {{-h, -h, -h}, {0, w, 0}, {0, 0, w}, {1, 0, 0}},
        {{h, -h, -h}, {0, 0, w}, {0, w, 0}, {-1, 0, 0}},
        {{-h, h, -h}, {w, 0, 0}, {0, 0, w}, {0, -1, 0}},
        {{-h, -h, -h}, {0, 0, w}, {w, 0, 0}, {0, 1, 0}},
    };
    GLDisplayList list = genList();
    nv::glNewList(list.get(), GL_COMPILE);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const GridFace& wall : walls)
        drawGridFace(wall, 16);
    nv::glEndList();
    return list;
}

void setLightColours(GLenum light, const float (&specular)[4], const float (&diffuse)[4])
{
    glLightfv(light, GL_SPECULAR, specular);
    glLightfv(light, GL_DIFFUSE, diffuse);
}

// `texture` on `unit`, looked up through the light's projection and
// multiplied into what the unit receives.
void projectFromLight(GLenum unit, GLuint texture, const ShadowLight& light)
{
    glActiveTexture(unit);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    light.setupShadowTexGen();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

} // namespace

ShadowRoom::ShadowRoom(ResourceManager* resources)
{
    roomState.readMaterial("shadowcube.cfg", resources);
    circleMask = resources->get(shared::circleMask);
    depthSurface = resources->get(shared::pbuffer512x512);
    glow = Glow(resources->get(shared::pbuffer320x240), resources->get(shared::copyScreen320x240),
                resources->get(shared::blur320x240), kGlowSpread);
    logo = std::make_unique<CubeLogo>(*resources);
    roomList = buildRoomList();
    for (int i = 0; i < lightCount; ++i) {
        lights[i] = std::make_unique<ShadowLight>();
        lights[i]->mapWidth = kMapSize;
        lights[i]->mapHeight = kMapSize;
        lights[i]->createDepthTexture(GL_UNSIGNED_INT);
        std::printf("made shadow light %d\n", i);
    }
    if (std::unique_ptr<char[]> text = resources->readFile("shadowroom.cfg")) {
        const KvLookupReport report("shadowroom.cfg");
        const char* keys[lightCount] = {"light0", "light1", "light2"};
        for (int i = 0; i < lightCount; ++i)
            kvFloats(text.get(), keys[i], lights[i]->colour, 3);
        // Walls that swallow light are no room either: below 0 reads as 0.
        kvFloats(text.get(), "bounce", &bounce, 1);
        bounce = std::max(bounce, 0.0f);
    }
}

ShadowRoom::~ShadowRoom() = default;

int ShadowRoom::onKey(int key, int, int)
{
    logo->key(key);
    return 0;
}

void ShadowRoom::moveLights(float t)
{
    float e = t * kTurnRate;
    for (int k = 0; k < lightCount; ++k) {
        const float a = kTurnRateGrowth * e;
        e = a;
        const float p = kTiltAmplitude * std::sin(a * kTiltRate);
        const float px = std::cos(k * kThird);
        const float pz = std::sin(k * kThird);
        ShadowLight& light = *lights[k];
        light.position = show::Vec3(std::cos(a) * px + std::sin(a) * std::cos(p) * pz, -std::sin(p) * pz,
                                    -std::sin(a) * px + std::cos(a) * std::cos(p) * pz) *
                         kOrbit;
        light.target = show::Vec3(0.0f, 0.0f, 0.0f);
        light.nearPlane = kLightNear;
        light.farPlane = kLightFar;
        light.fov = kLightFov;
        light.colour[3] = 1.0f;
    }
}

void ShadowRoom::drawContents() const
{
    nv::glCallList(roomList.get());
    logo->draw(0.0f);
}

void ShadowRoom::draw(float t)
{
    prepare(t);
    drawPrepared();
}

void ShadowRoom::prepare(float t)
{
    moveLights(t);
    logo->update(t);
    // The camera, read while the window's context is current: the shadow
    // maps' surface hands over straight to the glow's, which returns.
    float projection[16], modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    drawShadowMaps();
    drawGlow(projection, modelView);
    if (depthSurface != nullptr && !glow.available())
        depthSurface->restore();
}

void ShadowRoom::drawPrepared()
{
    drawBouncePass();
    drawLitPasses();
    glow.add();
    restingState.apply();
}

void ShadowRoom::drawBouncePass()
{
    // Depth first, so each lit pass adds only on the nearest surface. The
    // same pass lays down the light the walls throw back at each other: every
    // light, dimmed by `bounce`, without its spot, its mask or its shadow.
    // The spot passes multiply everything they add by the mask, so without
    // this the room outside the three discs would stay black.
    bouncePass.apply();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (int i = 0; i < lightCount; ++i) {
        const GLenum id = GL_LIGHT0 + i;
        const float* c = lights[i]->colour;
        const float b = bounce * c[3];
        setLightColours(id, {0.0f, 0.0f, 0.0f, 1.0f}, {b * c[0], b * c[1], b * c[2], 1.0f});
        lights[i]->applyPosition(i, 0.0f, 0.0f, 0.0f);
        glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        glEnable(id);
    }
    roomState.applyMaterial();
    drawContents();
    for (int i = 0; i < lightCount; ++i)
        glDisable(GL_LIGHT0 + i);
}

void ShadowRoom::drawShadowMaps()
{
    if (depthSurface == nullptr)
        return;
    // The maps are tiles of one surface: one switch of context for all of
    // them, and the copies wait for the drawing once.
    depthSurface->makeCurrent();
    const int columns = std::max(1, depthSurface->width / kMapSize);
    const int tiles = columns * std::max(1, depthSurface->height / kMapSize);
    std::vector<ShadowLight*> drawn;
    const auto corner = [columns](size_t tile) {
        return std::pair{static_cast<int>(tile) % columns * kMapSize, static_cast<int>(tile) / columns * kMapSize};
    };
    const auto copyDrawn = [&] {
        for (size_t tile = 0; tile < drawn.size(); ++tile)
            drawn[tile]->copyDepthTile(corner(tile).first, corner(tile).second);
        drawn.clear();
    };
    for (auto& light : lights) {
        if (light->colour[3] <= 0.0f)
            continue;
        if (drawn.empty()) {
            glDepthMask(GL_TRUE);
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        const auto [x, y] = corner(drawn.size());
        light->beginDepthTile(x, y);
        // The lights stand inside the closed room, which hides no part of
        // itself from them: only the logo casts shadows.
        logo->drawCaster();
        drawn.push_back(light.get());
        if (static_cast<int>(drawn.size()) == tiles)
            copyDrawn();
    }
    copyDrawn();
}

void ShadowRoom::drawLitPasses()
{
    litPass.apply();
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    for (auto& light : lights) {
        const float* c = light->colour;
        const float i = c[3];
        if (i <= 0.0f)
            continue;
        setLightColours(GL_LIGHT0, {c[0], c[1], c[2], 1.0f}, {i * c[0], i * c[1], i * c[2], 1.0f});
        light->applyPosition(0, 0.0f, 0.0f, 0.0f);
        light->applySpotDirection(0);
        glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, kSpotExponent);
        glEnable(GL_LIGHT0);

        // Unit 0 darkens what the light's depth map hides, unit 1 keeps the
        // light inside its round cone.
        projectFromLight(GL_TEXTURE0, light->depthTexture.get(), *light);
        projectFromLight(GL_TEXTURE1, circleMask != nullptr ? circleMask->texture : 0, *light);

        light->clipToFrustum(true);
        roomState.applyMaterial();
        drawContents();
        light->clipToFrustum(false);

        resetTextureUnits(2);
        glDisable(GL_LIGHT0);
    }
}

void ShadowRoom::drawGlow(const float (&projection)[16], const float (&modelView)[16])
{
    if (!glow.available())
        return;
    glow.beginFromCamera(projection, modelView);
    glowPass.apply();
    resetTextureUnits(2);
    for (int i = 0; i < lightCount; ++i) {
        const GLenum id = GL_LIGHT0 + i;
        setLightColours(id, {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f});
        lights[i]->applyPosition(i, 0.0f, 0.0f, 0.0f);
        lights[i]->applySpotDirection(i);
        if (lights[i]->colour[3] > 0.0f)
            glEnable(id);
        else
            glDisable(id);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    logo->glow = true;
    logo->draw(0.0f);
    logo->glow = false;

    // The glow is black away from the logo, so the blur works only on the
    // logo's part of the surface and the reach of the blur around it.
    ScreenBox box;
    const bool boxed = logoScreenBox(projection, modelView, glow.surfaceWidth(), glow.surfaceHeight(), box);
    glow.blur(boxed ? &box : nullptr);
}

bool ShadowRoom::logoScreenBox(const float (&projection)[16], const float (&modelView)[16], int width, int height,
                               ScreenBox& box) const
{
    float low[3], high[3];
    logo->bounds(low, high);
    show::Mat4 view;
    std::memcpy(view.m, modelView, sizeof view.m);
    const show::Mat4 logoView = view * logo->placement();
    return blockScreenBox(projection, logoView.m, low, high, width, height, glow.reach() + kGlowSpare, box);
}
