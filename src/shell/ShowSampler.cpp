#include "shell/ShowSampler.h"

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "scenes/ShowTimeline.h"
#include "sequencer/Demo.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <memory>
#include <set>

namespace shell {

namespace {

std::vector<unsigned char> drawScene(Demo& demo, int index, float sceneTime, int width, int height)
{
    const Scene& scene = *demo.scenes[static_cast<size_t>(index)];
    demo.drawFrame(index, demo.clock.showTimeInScene(scene.start, sceneTime), sceneTime);
    glFinish();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
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
    Demo demo(std::move(resources), showTimeline(), linkShowScenes);
    // On the capture clock and without playing the music, as a benchmark
    // runs; the music file is still looked up below, as a live run opens it.
    demo.clock.onFrames = true;
    demo.musicPending = false;
    while (demo.loadStage() > 0) {
    }
    musicFilePath(*demo.resources);

    ShowSample sample;
    for (size_t i = 0; i < demo.scenes.size(); ++i)
        sample.frames.push_back(drawScene(demo, static_cast<int>(i), sceneTime, width, height));
    const std::set<std::string>& outside = demo.resources->namesOutsideThePack();
    sample.namesOutsideThePack.assign(outside.begin(), outside.end());
    return sample;
}

} // namespace shell
