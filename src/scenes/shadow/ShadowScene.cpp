#include "scenes/shadow/ShadowScene.h"

#include "core/BlackFade.h"
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

    cameras->setCamera(run.camera, virtualScreenWidth, virtualScreenHeight);
    turnYUpToZUp();
    room->prepare(local);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    room->drawPrepared();

    // Black laid over the finished frame, so the room rises out of the dark.
    const float fadeLength = timeOfBeat(1.0f);
    if (local < fadeLength)
        drawBlackFade(show::remap(local, 0.0f, fadeLength, 1.0f, 0.0f));
    return local >= duration ? 1 : 0;
}
