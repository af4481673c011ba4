#include "scenes/funksphere/FunkSphereScene.h"

#include "core/PassState.h"
#include "core/Scene3DS.h"
#include "core/ShowMath.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/PBuffer.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "scenes/funksphere/CreditsOverlay.h"
#include "scenes/funksphere/FunkSphere.h"
#include "scenes/shared/VisibleBand.h"
#include "swf/swfScript.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using show::remap;

FunkSphereScene::FunkSphereScene(ResourceManager* resources) : Scene(resources)
{
    cameraName = "Camera01";
    drewBefore = false;
    if (resources != nullptr) {
        previousFrame = resources->get(shared::copyScreen640x480);
        sphereSurface = resources->get(shared::pbuffer512x512);
    }
    sphere = std::make_unique<FunkSphere>(resources);
    credits = std::make_unique<CreditsOverlay>(resources, 64, 64);
    if (resources != nullptr) {
        flight = std::make_unique<Scene3DS>("funksphere.3ds", *resources);
        script = loadScript(*resources, "funksphere.swf");
    }
    if (flight != nullptr) {
        // The ribbons orbit up to 1120 units out, far beyond the sphere.
        flight->nearPlane = 1.0f;
        flight->farPlane = 3000.0f;
    }
    if (script == nullptr)
        script = std::make_unique<swfScript>();
    script->registerCommand("setName", CreditsOverlay::setName);
    script->bindColour(1, layer);
    readRibbonCount();
}

FunkSphereScene::~FunkSphereScene() = default;

void FunkSphereScene::readRibbonCount()
{
    std::printf("loading funksphers.cfg\n");
    std::unique_ptr<char[]> cfg = resources != nullptr ? resources->readFile("funksphere.cfg") : nullptr;
    const int count = cfg != nullptr ? kvInt(cfg.get(), "numRibbons") : -1;
    if (count < 0)
        std::printf("funksphere.cfg gives no numRibbons: the sphere flies without ribbons\n");
    ribbons.resize(static_cast<size_t>(std::max(count, 0)));
}

int FunkSphereScene::visibleRibbons(float b) const
{
    const float grown = remap(std::min(b, 10.0f), 0, 10, 0, static_cast<float>(ribbons.size()));
    return std::clamp(static_cast<int>(std::floor(grown)), 0, ribbonCount());
}

int FunkSphereScene::update(float time)
{
    const float local = localTime(time);
    const float b = std::max(local, 0.0f);
    glClearColor(0, 0, 0, 0);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    script->update(5.0 * b);

    renderSphereTexture(b);
    drawPreviousFrame();
    if (flight != nullptr) {
        flight->setFrame(std::fmod(10.0f * b, 400.0f));
        flight->setCamera(cameraName, virtualScreenWidth, virtualScreenHeight);
    }
    drawRibbons(b);
    // Copied before the sphere is drawn, so only the ribbons feed back.
    if (previousFrame != nullptr)
        previousFrame->copyFromScreen(0, 0, 0, 0, -1, -1);
    drawSphere(b);
    glDisable(GL_DEPTH_TEST);
    if (layer[3] > 0.01f && layer[2] > 0.01f) {
        // Drawn last and never copied back: under the bars the name's
        // upper rows would be drawn for nobody.
        scissorToVisibleBand();
        drawCredits(virtualScreenWidth, virtualScreenHeight, b);
        glDisable(GL_SCISSOR_TEST);
    }
    return local >= duration ? 1 : 0;
}

void FunkSphereScene::renderSphereTexture(float b)
{
    if (sphereSurface == nullptr)
        return;
    sphereSurface->makeCurrent();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, FunkSphere::textureSize, FunkSphere::textureSize);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    if (layer[3] > 0)
        drawCredits(FunkSphere::textureSize, FunkSphere::textureSize, b);
    glBindTexture(GL_TEXTURE_2D, sphere->texture());
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, std::min(sphereSurface->width, FunkSphere::textureSize),
                        std::min(sphereSurface->height, FunkSphere::textureSize));
    glBindTexture(GL_TEXTURE_2D, 0);
    sphereSurface->restore();
}

void FunkSphereScene::drawPreviousFrame()
{
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!drewBefore || previousFrame == nullptr) {
        drewBefore = true;
        return;
    }
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 0.95f);
    // The whole frame enlarged by half from the top-left corner: the trails
    // stream away towards the bottom right.
    previousFrame->drawStretched(0, 0, 960, 720);
    glColor4f(1, 1, 1, 1);
}

void FunkSphereScene::drawRibbons(float b)
{
    constexpr PassState ribbonPass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    ribbonPass.apply();
    const int count = visibleRibbons(b);
    for (int i = 0; i < count; ++i)
        ribbons[i].draw(2.0f * b);
}

void FunkSphereScene::drawSphere(float b)
{
    constexpr PassState spherePass{PassState::depthLess, PassState::opaque, PassState::unlit};
    spherePass.apply();
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    sphere->draw(b);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void FunkSphereScene::drawCredits(int width, int height, float b)
{
    credits->width = width;
    credits->height = height;
    credits->alpha = layer[3] * 0.5f;
    credits->frequency = remap(layer[2], 0, 1, 15, 0.5f);
    credits->draw(b);
}
