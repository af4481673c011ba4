#include "scenes/aflowers/AflowersScene.h"

#include "core/BlackFade.h"
#include "core/PassState.h"
#include "core/ScreenQuad.h"
#include "core/TextureUnits.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"
#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "resources/TextureUpload.h"
#include "scenes/aflowers/LensClip.h"
#include "scenes/shared/VisibleBand.h"
#include "scenes/tunnel/RibbonsScene.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>

using show::Mat4;
using show::Vec3;

namespace {

constexpr const char* pictureName = "fear.jpg";
constexpr float degreesPerRadian = 57.29578f;
constexpr float glowStrength = 0.5f;
const Vec3 orbitCentre(20.0f, 0.0f, 0.0f);
const Vec3 orbitUp(0.0f, 0.0f, 1.0f);

void loadMatrix(GLenum mode, const Mat4& matrix)
{
    glMatrixMode(mode);
    glLoadMatrixf(matrix.m);
}

} // namespace

AflowersScene::AflowersScene(ResourceManager* resources)
    : Scene(resources), ribbons(resources), model("aflowers.3ds", *resources)
{
    for (int i = 0; i < flowerCount; ++i) {
        const float a = show::remap(static_cast<float>(i), 0.0f, flowerCount - 1.0f, 0.0f, 6.28318f);
        const float h = show::remap(static_cast<float>(i), 0.0f, flowerCount - 1.0f, 0.0f, 60.0f);
        auto flower = std::make_unique<PetalFlower>(resources, 15, 5);
        const Mat4 placement = Mat4::translation(0.0f, 0.0f, h) * Mat4::rotation(a * degreesPerRadian, 0, 0, 1) *
                               Mat4::translation(20.0f, 0.0f, 0.0f);
        std::copy(std::begin(placement.m), std::end(placement.m), flower->placement);
        flowers.push_back(std::move(flower));
    }
    flowers.front()->rotationOffset = 0.0f;
    warp = resources->get(shared::pullWarp);
    loadPicture();
    copy = resources->get(shared::copyScreen640x480b);
    ribbons.numRibbons = 16;
    ribbons.segLength = 0.05f;
    ribbons.width = 1.5f;
    ribbons.filename = "aflowers.3ds";
    ribbons.pathname = "Ribbon";
    ribbons.t_3dsEnd = 21.0f;
    ribbons.finishLoad();
}

// The projected picture needs sides that are powers of two: projection
// addresses it in [0, 1].
void AflowersScene::loadPicture()
{
    int width = 0, height = 0;
    if (jpegSize(*resources, pictureName, width, height) != 0) {
        std::printf("cannot find %s\n", pictureName);
        return;
    }
    if (resources::textureTargetFor(width, height) != GL_TEXTURE_2D) {
        std::printf("%s: %d x %d is not a power of two on each side\n", pictureName, width, height);
        return;
    }
    picture = createTexture(GL_TEXTURE_2D);
    loadJpegTexture(*resources, pictureName);
}

int AflowersScene::update(float time)
{
    const float sceneTime = localTime(time);
    const float b = localBeat(time);
    glClear(GL_COLOR_BUFFER_BIT);
    // Nothing of this frame is read back from under the bars: the glow
    // looks up rows 60 to 420 of its copy, the cross-fade lays the copy
    // back where it was taken. The flowers' heavy overdraw stops at them.
    scissorToVisibleBand();
    constexpr PassState glowingPass{PassState::noDepthTest, PassState::additiveAlpha, PassState::unlit};
    glowingPass.apply();
    glDisable(GL_TEXTURE_2D);
    drawBackground();

    const float base = setCamera(sceneTime, b);
    const float flowerTime = timeOfBeat((base - 6.0f) * 0.5f);
    drawFlowers(flowerTime);
    if (projecting) {
        resetTextureUnit(GL_TEXTURE0);
        projecting = false;
    }
    glColor4ub(255, 255, 255, 24);
    glDisable(GL_TEXTURE_2D);
    ribbons.update(sceneTime);

    if (!inOrbit(b))
        addWarpedCopy();
    if (b > lengthBeats - fadeBeats && next != nullptr)
        crossFade(b);
    // Out of the dark over the first beat.
    if (b < 1.0f)
        drawBlackFade(1.0f - b);
    glDisable(GL_SCISSOR_TEST);
    return sceneTime >= duration ? 1 : 0;
}

// Under the projected picture a petal takes the picture's colour, which is
// black all round it: only the petals inside the projector's two pyramids
// add to the frame, so the flowers are drawn once clipped to each and no
// pixel is spent on the rest. (Without the picture the petals stay white.)
void AflowersScene::drawFlowers(float flowerTime)
{
    if (!projecting || !picture) {
        for (const auto& flower : flowers)
            flower->drawPlaced(flowerTime);
        return;
    }
    for (double side : {lensAhead, lensBehind}) {
        clipToLensSide(lens, side);
        for (const auto& flower : flowers)
            flower->drawPlaced(flowerTime);
    }
    unclipLens();
}

// Night sky: black at the top to deep violet at the bottom.
void AflowersScene::drawBackground() const
{
    setOrthoBox(0, 1, 1, 0, 0, 1);
    nv::glBegin(GL_QUADS);
    glColor3ub(0, 0, 0);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(1.0f, 0.0f);
    glColor3ub(38, 7, 81);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
}

float AflowersScene::setCamera(float sceneTime, float b)
{
    if (!inOrbit(b)) {
        model.setFrame(std::fmod(13.0f * sceneTime, 200.0f));
        model.setCamera("Camera01", virtualScreenWidth, virtualScreenHeight);
        return b;
    }
    loadMatrix(GL_PROJECTION, Mat4::perspective(60.0f, 4.0f / 3.0f, 1.0f, 100.0f));
    const float alpha = flowers.front()->rotationOffset * 0.0055555557f + 0.7853975f;
    const float beta = alpha - (b - orbitFrom) * 0.1f;
    const float distance = b + 20.0f;
    const Vec3 eye(20.0f + distance * std::cos(beta), 0.0f, distance * std::sin(beta));
    loadMatrix(GL_MODELVIEW, Mat4::lookAt(eye, orbitCentre, orbitUp));
    projectPicture(alpha);
    return b - 4.0f;
}

// Eye-linear coordinates set under the camera are world positions; the
// texture matrix takes them through the projector's view and lens.
void AflowersScene::projectPicture(float alpha)
{
    const Vec3 projector(20.0f + 10.0f * std::cos(alpha), 0.0f, 10.0f * std::sin(alpha));
    const Mat4 projectorView = Mat4::lookAt(projector, orbitCentre, orbitUp);
    enableEyeLinearTexGen();
    lens = Mat4::translation(0.5f, 0.5f, 0.5f) * Mat4::scaling(0.5f, -0.5f, 0.5f) *
           Mat4::perspective(110.0f, 1.0f, 1.0f, 30.0f) * projectorView;
    loadMatrix(GL_TEXTURE, lens);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture.get());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    projecting = true;
}

// A soft glow: the frame's copy pulled through the warp grid, at half
// strength. Neighbouring open flowers already pile their petals up close to
// white, and half the frame added on top of itself clipped their cores and
// everything between them to a flat white blot. Screen blending adds the
// copy in proportion to how far each pixel still is from white: the dark
// around the petals lights up as before, the bright cores hold their shape.
void AflowersScene::addWarpedCopy()
{
    if (copy == nullptr || warp == nullptr)
        return;
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
    glColor4f(glowStrength, glowStrength, glowStrength, 1.0f);
    copy->enable();
    copy->bind();
    warp->strength = 8.0f;
    warp->update(0.0f);
    copy->disable();
}

// The finished frame fades into the next scene's frames: the next scene
// plays its pre-roll on its own clock into its copy target, and the two
// pictures are mixed by the fade, so the last frame here is the next
// scene's own and its first frame on its own carries straight on.
void AflowersScene::crossFade(float b)
{
    if (copy == nullptr || next->copy == nullptr)
        return;
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    // The next scene draws its whole frame, as it would on its own.
    glDisable(GL_SCISSOR_TEST);
    next->driven = true;
    next->preRoll = duration - timeOfBeat(lengthBeats - fadeBeats);
    next->update(timeOfBeat(b - (lengthBeats - fadeBeats)));
    next->driven = false;
    scissorToVisibleBand();
    const float f = std::fmin((b - (lengthBeats - fadeBeats)) / fadeBeats, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    copy->drawFullScreen(0, 0, -1, -1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, f);
    next->copy->drawFullScreen(0, 0, -1, -1);
}
