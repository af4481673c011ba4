#include "scenes/tunnel/RibbonsScene.h"

#include "core/BlackFade.h"
#include "core/PassState.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"
#include "resources/ResourceManager.h"
#include "scenes/shared/VisibleBand.h"
#include "scenes/tunnel/InverseCamera.h"

#include <epoxy/gl.h>

#include <cmath>

using show::Mat4;
using show::Vec3;

namespace {

constexpr const char* cameraName = "Camera01";
// Over the last beats the frame is darkened instead of cleared, from fully
// to 80 percent, so the ribbons leave streaks.
constexpr float streakBeats = 2.0f;
constexpr float streakFadeFrom = 1.0f;
constexpr float streakFadeTo = 0.8f;
// Everything fades into black fog by this depth.
constexpr float fogEnd = 200.0f;
// The pull is a gentle cubic: quads of two by two cells follow it to within
// a fraction of a texel, with half as many quad edges to fill twice.
constexpr int warpCellsPerQuad = 2;

struct PlanePlace {
    const char* picture;
    float frame;
};

constexpr PlanePlace planePlaces[] = {{"_text0.jpg", 50}, {"_text1.jpg", 70},  {"_text2.jpg", 90},
                                      {"_text3.jpg", 100}, {"_text4.jpg", 110}, {"_text5.jpg", 115}};

} // namespace

RibbonsScene::RibbonsScene(ResourceManager* resources) : Scene(resources), model("ribbons.3ds", *resources)
{
    model.farPlane = 500.0f;
    ribbons.resize(ribbonCount);
    show::random(0.0f, 1.0f);
    show::random(0.0f, 1.0f);
    placePlanes();
    buildPaths();
    warp = resources->get(shared::pullWarp);
    copy = resources->get(shared::copyScreen640x480);
    accents = showAccents(*resources);
    preRoll = timeOfBeat(preRollBeats);
}

void RibbonsScene::placePlanes()
{
    // Each word stands where the camera is at its frame, facing the way the
    // camera looks, upright in its picture.
    const Mat4 turn = Mat4::rotation(3.14159f * 180.0f / 3.14159265f, 1.0f, 0.0f, 0.0f);
    for (const PlanePlace& place : planePlaces) {
        model.setFrame(place.frame);
        const Mat4 matrix = inverseCamera(model.cameraMatrix(cameraName)) * turn;
        planes.push_back(std::make_unique<TextPlane>(*resources, place.picture, place.frame * 0.1f, matrix));
        if (planes.size() == 1)
            planes.front()->offset = Vec3(0.0f, 0.5f, 0.0f);
    }
}

void RibbonsScene::buildPaths()
{
    for (int f = 0; f < pathPoints; ++f) {
        model.setFrame(show::remap(static_cast<float>(f), 0.0f, 100.0f, 0.0f, 200.0f));
        const Mat4 toWorld = inverseCamera(model.cameraMatrix(cameraName));
        for (TrailRibbon& ribbon : ribbons)
            ribbon.appendPoint(toWorld);
    }
}

int RibbonsScene::update(float time)
{
    const float local = driven ? time : localTime(time) + preRoll;
    const float beat = beatAt(local);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    constexpr PassState glowingPass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    glowingPass.apply();
    glDisable(GL_TEXTURE_2D);
    clearOrFade(beat);
    holdToRowsInView();

    model.setFrame(std::fmod(show::remap(beat, 0.0f, lengthBeats + preRollBeats, 0.0f, 190.0f), 200.0f));
    model.setCamera(cameraName, virtualScreenWidth, virtualScreenHeight);
    const float s = std::sin(local), c = std::cos(local);
    const Vec3 tint = Vec3(std::fabs(s * c), std::fabs(s * s) * 0.125f, std::fabs(c)) * 0.5f;
    const float ribbonTime = timeOfBeat(12.0f) + 5.0f * local;
    const DepthFog fog = DepthFog::ofCurrentView(fogEnd);
    glDisable(GL_FOG);
    for (TrailRibbon& ribbon : ribbons)
        ribbon.drawFrame(ribbonTime, tint, fog);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, fogEnd);
    const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glFogfv(GL_FOG_COLOR, black);
    for (const auto& plane : planes)
        plane->draw(local);
    glDisable(GL_FOG);
    finishFrame(local);
    glDisable(GL_SCISSOR_TEST);
    return local - preRoll >= duration ? 1 : 0;
}

// Clears the frame, or in the last beats lays translucent black over the
// previous one so the ribbons leave streaks as the scene ends.
void RibbonsScene::clearOrFade(float beat)
{
    if (beat > lengthBeats - streakBeats) {
        drawBlackFade(show::remap(beat, lengthBeats - streakBeats, lengthBeats, streakFadeFrom, streakFadeTo));
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    } else {
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

// Rows under the bars that nothing will read cost a fifth of the frame's
// pixels: the ribbons crowd the top and bottom of the picture.
void RibbonsScene::holdToRowsInView() const
{
    if (skipRowsUnderBars && !driven)
        scissorToVisibleBand(accents);
}

// Adds the frame's copy drawn through the warp grid. Driven, the finished
// frame goes into the copy target as well, which the caller fades in.
void RibbonsScene::finishFrame(float localTime)
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (copy == nullptr)
        return;
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    if (warp != nullptr) {
        copy->enable();
        copy->bind();
        warp->strength = 4.0f;
        warp->cellsPerQuad = warpCellsPerQuad;
        warp->update(localTime);
        warp->cellsPerQuad = 1;   // the grid is shared
        copy->disable();
    }
    if (driven)
        copy->copyFromScreen(0, 0, 0, 0, -1, -1);
}
