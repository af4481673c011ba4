#include "scenes/shadow/ShadowRoom.h"

#include "effects/CircleMask.h"
#include "effects/CombinerFilter.h"
#include "effects/CopyScreen.h"
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

namespace {

constexpr int kMapSize = 256;
constexpr float kOrbit = 40.0f;
constexpr float kThird = 2.0943933f;   // a third of a turn, in radians
// How far the glow's blur strokes carry light: three taps of 4 pixels, then
// three of 2, each way.
constexpr int kBlurReach = 3 * 4 + 3 * 2;

unsigned buildRoomList()
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
    const unsigned list = glGenLists(1);
    nv::glNewList(list, GL_COMPILE);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const GridFace& wall : walls)
        drawGridFace(wall, 16);
    nv::glEndList();
    return list;
}

// `box` grown by `margin` on every side, held inside width x height.
ScreenBox grown(const ScreenBox& box, int margin, int width, int height)
{
    const int x0 = std::max(0, box.x - margin), y0 = std::max(0, box.y - margin);
    const int x1 = std::min(width, box.x + box.width + margin), y1 = std::min(height, box.y + box.height + margin);
    return {x0, y0, x1 - x0, y1 - y0};
}

void setLightColours(GLenum light, const float (&specular)[4], const float (&diffuse)[4])
{
    glLightfv(light, GL_SPECULAR, specular);
    glLightfv(light, GL_DIFFUSE, diffuse);
}

void disableShadowUnit(GLenum unit)
{
    glActiveTexture(unit);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
        glDisable(gen);
}

} // namespace

ShadowRoom::ShadowRoom(ResourceManager* resources)
{
    roomState.readMaterial("shadowcube.cfg", resources);
    circleMask = resources->get(shared::circleMask);
    depthSurface = resources->get(shared::pbuffer512x512);
    glowCopy = resources->get(shared::copyScreen640x480c);
    glowSurface = resources->get(shared::pbuffer640x480);
    blur = resources->get(shared::blur640x480);
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

ShadowRoom::~ShadowRoom()
{
    nv::glDeleteLists(roomList, 1);
}

int ShadowRoom::onKey(int key, int, int)
{
    logo->key(key);
    return 0;
}

void ShadowRoom::moveLights(float t)
{
    float e = t * 0.25f;
    for (int k = 0; k < lightCount; ++k) {
        const float a = 2.0f * e;
        e = a;
        const float p = 0.5f * std::sin(a * 0.33333334f);
        const float px = std::cos(k * kThird);
        const float pz = std::sin(k * kThird);
        ShadowLight& light = *lights[k];
        light.position = show::Vec3(std::cos(a) * px + std::sin(a) * std::cos(p) * pz, -std::sin(p) * pz,
                                    -std::sin(a) * px + std::cos(a) * std::cos(p) * pz) *
                         kOrbit;
        light.target = show::Vec3(0.0f, 0.0f, 0.0f);
        light.nearPlane = 1.0f;
        light.farPlane = 160.0f;
        light.fov = 45.0f;
        light.colour[3] = 1.0f;
    }
}

void ShadowRoom::drawContents() const
{
    nv::glCallList(roomList);
    logo->draw(0.0f);
}

void ShadowRoom::draw(float t)
{
    glEnable(GL_DEPTH_TEST);
    moveLights(t);
    logo->update(t);
    drawShadowMaps();

    drawBouncePass();
    drawLitPasses();
    drawGlow();
    addGlow();

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
}

void ShadowRoom::drawBouncePass()
{
    // Depth first, so each lit pass adds only on the nearest surface. The
    // same pass lays down the light the walls throw back at each other: every
    // light, dimmed by `bounce`, without its spot, its mask or its shadow.
    // The spot passes multiply everything they add by the mask, so without
    // this the room outside the three discs would stay black.
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_LIGHTING);
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
    for (auto& light : lights) {
        if (light->colour[3] <= 0.0f)
            continue;
        light->beginDepthPass(*depthSurface);
        drawContents();
        light->endDepthPass(*depthSurface);
    }
}

void ShadowRoom::drawLitPasses()
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
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
        glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 100.0f);
        glEnable(GL_LIGHT0);

        // Unit 0 darkens what the light's depth map hides, unit 1 keeps the
        // light inside its round cone.
        glActiveTexture(GL_TEXTURE0);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, light->depthTexture);
        light->setupShadowTexGen();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, circleMask != nullptr ? circleMask->texture : 0);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        light->setupShadowTexGen();

        light->clipToFrustum(true);
        roomState.applyMaterial();
        drawContents();
        light->clipToFrustum(false);

        disableShadowUnit(GL_TEXTURE1);
        disableShadowUnit(GL_TEXTURE0);
        glDisable(GL_LIGHT0);
    }
}

void ShadowRoom::drawGlow()
{
    glowBoxed = false;
    if (glowSurface == nullptr || glowCopy == nullptr || blur == nullptr)
        return;
    // The glow surface is a context of its own: it takes the camera over and
    // sets every state the pass relies on.
    float projection[16], modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glowSurface->makeCurrent();
    glViewport(0, 0, glowSurface->width, glowSurface->height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE0}) {
        glActiveTexture(unit);
        glDisable(GL_TEXTURE_2D);
    }
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

    // Wide strokes first, then narrow ones, each way along both axes. The
    // glow is black away from the logo, so the strokes only work on the
    // logo's part of the surface and the reach of the blur around it.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glowBoxed = logoScreenBox(projection, modelView, glowSurface->width, glowSurface->height, glowBox);
    if (glowBoxed) {
        glScissor(glowBox.x, glowBox.y, glowBox.width, glowBox.height);
        glEnable(GL_SCISSOR_TEST);
    }
    for (int spread : {4, 2})
        for (int direction : {CombinerFilter::left, CombinerFilter::right, CombinerFilter::up, CombinerFilter::down}) {
            blur->spread = spread;
            blur->direction = direction;
            blur->update();
        }
    glDisable(GL_SCISSOR_TEST);
    if (glowBoxed) {
        // The box and a rim of black around it, for the filtering of a
        // stretched copy at the box's edge.
        const ScreenBox b = grown(glowBox, 2, glowCopy->width, glowCopy->height);
        glowCopy->copyFromScreen(b.x, b.y, b.x, b.y, b.width, b.height);
    } else {
        glowCopy->copyFromScreen(0, 0, 0, 0, -1, -1);
    }
    glowSurface->restore();
}

bool ShadowRoom::logoScreenBox(const float (&projection)[16], const float (&modelView)[16], int width, int height,
                               ScreenBox& box) const
{
    float low[3], high[3];
    logo->bounds(low, high);
    show::Mat4 view;
    std::memcpy(view.m, modelView, sizeof view.m);
    const show::Mat4 logoView = view * logo->placement();
    return blockScreenBox(projection, logoView.m, low, high, width, height, kBlurReach + 2, box);
}

void ShadowRoom::addGlow()
{
    if (glowCopy == nullptr)
        return;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Black adds nothing: only the glow's box of the window is drawn, scaled
    // from the glow surface onto the window's viewport.
    if (glowBoxed) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const double sx = static_cast<double>(viewport[2]) / glowCopy->width;
        const double sy = static_cast<double>(viewport[3]) / glowCopy->height;
        const int x0 = viewport[0] + static_cast<int>(std::floor(glowBox.x * sx));
        const int y0 = viewport[1] + static_cast<int>(std::floor(glowBox.y * sy));
        const int x1 = viewport[0] + static_cast<int>(std::ceil((glowBox.x + glowBox.width) * sx));
        const int y1 = viewport[1] + static_cast<int>(std::ceil((glowBox.y + glowBox.height) * sy));
        glScissor(x0, y0, x1 - x0, y1 - y0);
        glEnable(GL_SCISSOR_TEST);
    }
    glowCopy->drawFullScreen(0, 0, -1, -1);
    glDisable(GL_SCISSOR_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
