#include "scenes/fluid/FluidScene.h"

#include "core/BlackFade.h"
#include "core/ScreenQuad.h"
#include "core/ShowMath.h"
#include "core/VirtualScreen.h"
#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"
#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "swf/swfScript.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* bannerPicture = "end.jpg";
constexpr float bannerWidth = 640.0f;
constexpr float bannerHeight = 80.0f;
constexpr float bannerTop = 60.0f;
// The script's pen sits this far below where it writes.
constexpr float penLift = 50.0f;
// Each frame keeps this share of the last one in place (the rest is covered
// in black) and adds the flowing copy on top. The two together stay just
// below one: at 0.51 + 0.5 every shape the fluid carries gains a hundredth a
// frame and burns to white within seconds; a little under one lets old
// strokes dim while the flow carries them.
constexpr float keptShare = 0.51f;
constexpr float feedbackGain = 0.99f;
constexpr float flowingShare = feedbackGain - keptShare;
// The show's last second fades to black.
constexpr float closingFadeSeconds = 1.0f;

void setScreenBox()
{
    setOrthoBox(0, virtualScreenWidth, virtualScreenHeight, 0, 0, 10);
}

void drawLine(const float* from, const float* to, float width)
{
    glLineWidth(width);
    nv::glBegin(GL_LINES);
    glVertex2f(from[0], from[1]);
    glVertex2f(to[0], to[1]);
    glEnd();
}

} // namespace

FluidScene::FluidScene(ResourceManager* resources, FluidPen& pen) : Scene(resources), pen(pen)
{
    warp = std::make_unique<FluidWarp>(resources);
    screen = resources->get(shared::copyScreen640x480);
    script = loadScript(*resources, "fluid.swf");
    script->registerCommand("endLine", [&pen](swfMovie&, const swfArguments&) {
        pen.down = !pen.down;
        return 0;
    });
    script->bindPosition(1, penPoint);
    script->bindColour(2, bannerColour);

    int width = 0, height = 0;
    hasBanner = jpegSize(*resources, bannerPicture, width, height) == 0;
    if (!hasBanner) {
        std::printf("cannot find %s\n", bannerPicture);
        return;
    }
    banner = createTexture(GL_TEXTURE_RECTANGLE);
    loadJpegTexture(*resources, bannerPicture);
}

FluidScene::~FluidScene() = default;

int FluidScene::update(float time)
{
    const float local = localTime(time);
    if (!pen.timed) {
        pen.previousTime = local;
        pen.timed = true;
    }
    if (screen != nullptr && (!pen.screenCopied || local == 0.0f)) {
        // The flow starts from whatever the show drew last.
        screen->copyFromScreen(0, 0, 0, 0, -1, -1);
        pen.screenCopied = true;
    }
    drawFeedback();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    setScreenBox();
    writeWithPen(local);
    drawWarped(local);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawBanner();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    warp->drawVelocityLines();
    drawClosingCovers(local);

    pen.previousTime = local;
    return local >= duration ? 1 : 0;
}

// Last frame's picture, darkened by half: the flowing copy added on top
// brings it back to just under its light, so what is not renewed dims slowly.
void FluidScene::drawFeedback()
{
    // The scene inherits its predecessor's state; these are what it draws with.
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE, GL_ALPHA_TEST, GL_TEXTURE_2D,
                       GL_TEXTURE_RECTANGLE, GL_TEXTURE_3D, GL_BLEND})
        nv::glDisable(cap);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (screen != nullptr)
        screen->drawFullScreen(0, 0, -1, -1);
    drawBlackFade(1.0f - keptShare);
}

// The script runs at 80 frames a second; ten sub-steps a frame keep the
// strokes smooth at any frame rate. It runs with the pen lifted too, or
// "endLine" could never set it down again.
void FluidScene::writeWithPen(float local)
{
    const float previous = pen.previousTime;
    const float step = scriptFramesPerSecond / penStepsPerFrame * (local - previous);
    float at = std::max(scriptFramesPerSecond * previous, 0.0f);
    for (int i = 0; i < penStepsPerFrame; ++i) {
        script->update(at);
        drawPenSegment();
        at += step;
    }
}

void FluidScene::drawPenSegment()
{
    const float point[2] = {penPoint[0], penPoint[1] - penLift};
    if (hasPreviousPen && pen.down) {
        glColor4f(1.0f, 1.0f, 1.0f, 0.25f);
        drawLine(previousPen, point, 16.0f);
        drawLine(previousPen, point, 2.0f);
        glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
        drawLine(previousPen, point, 1.0f);
    }
    previousPen[0] = point[0];
    previousPen[1] = point[1];
    hasPreviousPen = true;
}

void FluidScene::drawWarped(float local)
{
    if (screen == nullptr)
        return;
    glColor4f(1.0f, 1.0f, 1.0f, flowingShare);
    screen->enable();
    screen->bind();
    warp->update(local);
    screen->disable();
    // The feedback for the next frame, before the banner and the lines.
    screen->copyFromScreen(0, 0, 0, 0, -1, -1);
}

void FluidScene::drawBanner() const
{
    if (!hasBanner)
        return;
    glColor4f(1.0f, 1.0f, 1.0f, bannerColour[3]);
    glEnable(GL_TEXTURE_RECTANGLE);
    glBindTexture(GL_TEXTURE_RECTANGLE, banner.get());
    drawQuad({0, bannerTop, bannerWidth, bannerTop + bannerHeight}, {0, 0, bannerWidth, bannerHeight});
    glDisable(GL_TEXTURE_RECTANGLE);
}

void FluidScene::drawClosingCovers(float local) const
{
    if (!pen.down && bannerColour[3] < 1.0f)
        drawBlackFade(1.0f - bannerColour[3]);
    if (local > duration - closingFadeSeconds)
        drawBlackFade(show::remap(local, duration - closingFadeSeconds, duration, 0.0f, 1.0f));
}
