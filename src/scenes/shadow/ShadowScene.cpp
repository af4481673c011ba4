#include "scenes/shadow/ShadowScene.h"

#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace {

constexpr float kFramesPerSecond = 10.0f;   // both the movie's and the 3DS file's
constexpr int kSpace = 0x20;

} // namespace

ShadowScene::ShadowScene(ResourceManager* resources, ShadowRunState& run) : Scene(resources), run(run)
{
    room = std::make_unique<ShadowRoom>(resources);
    script = loadScript(*resources, "shadowscene.swf");
    script->registerCommand("setCamera", [&run](swfMovie&, const swfArguments& arguments) {
        if (arguments.size() >= 2)
            run.camera = arguments[1];
        return 0;
    });
    cameras = std::make_unique<Scene3DS>("shadowscene.3ds", *resources);
}

int ShadowScene::onKey(int key, int x, int y)
{
    return room->onKey(key, x, y);
}

void ShadowScene::pressScriptedKeys(float time)
{
    // Each beat on its own: a frame that jumps past several presses them all.
    const float beat = localBeat(time);
    for (size_t i = 0; i < pushBeats.size(); ++i)
        if (!run.pressed[i] && beat >= pushBeats[i]) {
            run.pressed[i] = true;
            onKey(kSpace, 0, 0);
        }
}

int ShadowScene::update(float time)
{
    pressScriptedKeys(time);
    const float local = std::max(0.0f, localTime(time));
    script->update(kFramesPerSecond * local);
    cameras->setFrame(kFramesPerSecond * local);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    cameras->setCamera(run.camera, virtualScreenWidth, virtualScreenHeight);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    room->draw(local);

    const float fadeLength = timeOfBeat(1.0f);
    if (local < fadeLength)
        fadeFromBlack(show::remap(local, 0.0f, fadeLength, 1.0f, 0.0f));
    return local >= duration ? 1 : 0;
}

// Black laid over the finished frame, so the room rises out of the dark.
void ShadowScene::fadeFromBlack(float alpha) const
{
    setOrthoBox(0, virtualScreenWidth, virtualScreenHeight, 0, -1, 1);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    drawQuad({0, 0, static_cast<float>(virtualScreenWidth), static_cast<float>(virtualScreenHeight)});
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
