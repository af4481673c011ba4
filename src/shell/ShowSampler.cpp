#include "shell/ShowSampler.h"

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "scenes/ShowStages.h"
#include "sequencer/Demo.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <memory>
#include <set>

namespace shell {

namespace {

// The groups the sequencer saves around a scene.
constexpr GLbitfield sceneAttributes = GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT |
                                       GL_TEXTURE_BIT;

std::vector<unsigned char> drawScene(Demo& demo, Scene& scene, float sceneTime, int width, int height)
{
    glPushAttrib(sceneAttributes);
    scene.update(scene.start + demo.timeOffset + sceneTime);
    demo.drawOverlays(sceneTime);
    glFinish();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPopAttrib();
    return pixels;
}

} // namespace

ShowSample sampleShow(bool usePack, float sceneTime, int width, int height)
{
    std::srand(1);
    auto resources = std::make_unique<ResourceManager>(usePack, true);
    resources->setObjectFactory(createSharedObject);
    resources->screenWidth = width;
    resources->screenHeight = height;
    Demo demo(std::move(resources), showStages(), linkShowScenes);
    // On the capture clock and without playing the music, as a benchmark
    // runs; the music file is still looked up below, as a live run opens it.
    demo.captureClock = true;
    demo.musicPending = false;
    while (demo.loadStage() > 0) {
    }
    musicFilePath(*demo.resources);

    ShowSample sample;
    for (const std::unique_ptr<Scene>& scene : demo.scenes)
        sample.frames.push_back(drawScene(demo, *scene, sceneTime, width, height));
    const std::set<std::string>& outside = demo.resources->namesOutsideThePack();
    sample.namesOutsideThePack.assign(outside.begin(), outside.end());
    return sample;
}

} // namespace shell
