#include "scenes/metaballs/VolumeScene.h"

#include "core/BlackFade.h"
#include "core/Scene3DS.h"
#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/KeyEffects.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "swf/swfScript.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr const char* maskPicture = "k32b.jpg";
constexpr const char* cameraModel = "volume.3ds";
constexpr const char* modelCamera = "Camera01";
// Larger pictures than this are not a mask anyone drew; refuse them rather
// than allocate whatever a broken header claims.
constexpr int largestMaskSide = 4096;
// Below this the fade quad is drawn; at full strength the script hands the
// frame back untouched.
constexpr float fadeLimit = 0.996f;

ShapeMask loadShapeMask(const ResourceManager& resources)
{
    int width = 0, height = 0;
    if (jpegSize(resources, maskPicture, width, height) != 0 || width <= 0 || height <= 0 ||
        width > largestMaskSide || height > largestMaskSide) {
        std::printf("cannot find %s\n", maskPicture);
        return {};
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    if (jpegPixels(resources, maskPicture, rgb.data()) != 0) {
        std::printf("cannot find %s\n", maskPicture);
        return {};
    }
    return ShapeMask::fromPicture(rgb.data(), width, height);
}

void registerDirectionCommands(swfScript& script, VolumeDirection& direction)
{
    script.registerCommand("setCamera", [&direction](swfMovie&, const swfArguments& arguments) {
        if (arguments.size() >= 2)
            direction.camera = arguments[1];
        return 0;
    });
    script.registerCommand("doK", [&direction](swfMovie&, const swfArguments& arguments) {
        direction.morph.start(arguments.size() >= 2 ? static_cast<float>(std::atof(arguments[1].c_str())) : 0.0f);
        return 0;
    });
}

void lookFrom(float fovy, const show::Vec3& eye)
{
    const show::Mat4 projection = show::Mat4::perspective(fovy, 4.0f / 3.0f, 0.1f, 100.0f);
    const show::Mat4 view = show::Mat4::lookAt(eye, {0, 0, 0}, {0, 1, 0});
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.m);
}

} // namespace

VolumeScene::VolumeScene(ResourceManager* resources, VolumeDirection& direction)
    : Scene(resources), direction(direction)
{
    cloud = std::make_unique<MetaballCloud>(loadShapeMask(*resources));
    model = std::make_unique<Scene3DS>(cameraModel, *resources);
    script = loadScript(*resources, "alphametaballs.swf");
    registerDirectionCommands(*script, direction);
    script->bindColour(1, fadeColour);
    registerKeyEffectCommands(*script, *resources);
    previousFrame = resources->get(shared::copyScreen640x480);
}

VolumeScene::~VolumeScene() = default;

int VolumeScene::update(float time)
{
    const float tau = localTime(time);
    const float beat = localBeat(time);
    if (!entered && previousFrame != nullptr) {
        // The frame the scene before left on the screen, for the entry zoom.
        previousFrame->copyFromScreen(0, 0, 0, 0, -1, -1);
    }
    entered = true;

    // The script's commands run before the frame is begun: an accent that
    // copies the screen takes the last whole frame, not a cleared screen
    // with only this frame's background in the reduced corner.
    script->update(2.0 * beat);
    reduced.begin();
    drawBackground();
    placeCamera(tau);
    cloud->rebuild(tau, direction.morph);
    cloud->draw();
    reduced.end();
    drawFade();
    if (beat < 1.0f)
        drawEntry(beat);
    // The key-effect accents are laid over the finished frame by the
    // sequencer, with the show's clock; running them here too, on the
    // scene's clock, would draw them twice a frame with a swinging strength.
    return tau >= duration ? 1 : 0;
}

int VolumeScene::onKey(int key, int, int)
{
    cloud->key(key);
    return 0;
}

void VolumeScene::drawBackground() const
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE, GL_ALPHA_TEST, GL_TEXTURE_2D,
                       GL_TEXTURE_RECTANGLE, GL_TEXTURE_3D})
        nv::glDisable(cap);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    setOrthoBox(0, 1, 1, 0, 0, 1);
    nv::glBegin(GL_QUADS);
    glColor4f(0.05f, 0.0f, 0.2f, 1.0f);
    glVertex2f(0, 0);
    glVertex2f(1, 0);
    glColor4f(0.3f, 0.0f, 0.1f, 1.0f);
    glVertex2f(1, 1);
    glVertex2f(0, 1);
    glEnd();
}

void VolumeScene::placeCamera(float tau) const
{
    const std::string& camera = direction.camera;
    if (camera == modelCamera) {
        model->setFrame(std::fmod(10.0f * tau, 100.0f));
        model->setCamera(modelCamera, virtualScreenWidth, virtualScreenHeight);
    } else if (camera == "slideForward") {
        lookFrom(60.0f, {0, 0, 25.0f + 15.0f * (0.75f - tau)});
    } else if (camera == "slideBack") {
        lookFrom(60.0f, {0, 0, 25.0f + 15.0f * std::sin(tau)});
    } else if (camera == "upperCorner") {
        lookFrom(60.0f, {20, 20, 20});
    } else if (camera == "lowerCorner") {
        lookFrom(45.0f, {-15, -15, 15});
    } else if (camera == "lastCamera") {
        lookFrom(60.0f, {0, 0, 32.5f});
    }
    // Any other name keeps the background's flat box.
}

void VolumeScene::drawFade() const
{
    const float alpha = fadeColour[3];
    // Clear black changes nothing; skipping it saves a full-screen pass.
    if (alpha >= fadeLimit || alpha <= 0.0f)
        return;
    drawBlackFade(alpha);
}

// The previous frame, grown from 704 x 544 pixels and fading out over the
// first beat: n steps from 4 to 19 and the picture grows by 4 n^2.
void VolumeScene::drawEntry(float beat)
{
    if (previousFrame == nullptr)
        return;
    const int n = static_cast<int>(show::remap(beat, 0.0f, 1.0f, 4.0f, 20.0f));
    const float width = 4.0f * n * n + virtualScreenWidth;
    const float height = 4.0f * n * n + virtualScreenHeight;
    const float cx = virtualScreenWidth / 2.0f, cy = virtualScreenHeight / 2.0f;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f - beat);
    setOrthoBox(0, virtualScreenWidth, virtualScreenHeight, 0, 0, 10);
    previousFrame->enable();
    previousFrame->bind();
    // The copy's first row is the bottom of the screen; rectangle textures
    // are addressed in texels.
    const bool rectangle = previousFrame->target != GL_TEXTURE_2D;
    const float s = rectangle ? float(previousFrame->width) : 1.0f;
    const float t = rectangle ? float(previousFrame->height) : 1.0f;
    drawQuad({cx - width / 2, cy - height / 2, cx + width / 2, cy + height / 2}, {0, t, s, 0});
    previousFrame->disable();
}
