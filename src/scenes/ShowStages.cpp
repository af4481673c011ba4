// The show's scenes in the order they play, one loading stage each, and the
// references some of them keep to others. A row stays empty until its scene
// exists; the list then just holds fewer scenes.
#include "scenes/ShowStages.h"

#include "scenes/opening/ScriptScene.h"
#include "resources/ResourceManager.h"
#include "scenes/aflowers/AflowersScene.h"
#include "scenes/flowers/FlowersScene.h"
#include "scenes/fluid/FluidScene.h"
#include "scenes/funksphere/FunkSphereScene.h"
#include "scenes/ribbonstack/RibbonStackScene.h"
#include "scenes/tunnel/RibbonsScene.h"
#include "scenes/shadow/ShadowScene.h"
#include "scenes/metaballs/VolumeScene.h"

namespace {

std::unique_ptr<Scene> buildOpening(ResourceManager& resources)
{
    char path[ResourceManager::pathSize];
    if (!resources.findFile("intro.script", path))
        return nullptr;
    return std::make_unique<ScriptScene>(path, &resources);
}

} // namespace

StageTable showStages()
{
    StageTable stages;
    stages[0] = buildOpening;  // the opening, playing "intro.script"
    stages[1] = [](ResourceManager& resources) { return std::make_unique<AflowersScene>(&resources); };
    stages[2] = [](ResourceManager& resources) { return std::make_unique<RibbonsScene>(&resources); };
    stages[3] = [](ResourceManager& resources) { return std::make_unique<VolumeScene>(&resources); };
    stages[4] = [](ResourceManager& resources) { return std::make_unique<ShadowScene>(&resources); };
    stages[5] = [](ResourceManager& resources) { return std::make_unique<RibbonStackScene>(&resources); };
    stages[6] = [](ResourceManager& resources) { return std::make_unique<FlowersScene>(&resources); };
    stages[7] = [](ResourceManager& resources) { return std::make_unique<FunkSphereScene>(&resources); };
    stages[8] = [](ResourceManager& resources) { return std::make_unique<FluidScene>(&resources); };
    return stages;
}

void linkShowScenes(const std::array<Scene*, sceneStageCount>& byStage)
{
    // The opening keeps the scene that follows it, the abstract flowers.
    if (auto* opening = dynamic_cast<ScriptScene*>(byStage[0]); opening && byStage[1])
        opening->followingScene = byStage[1];
    // The abstract flowers fade into the ribbon tunnel.
    if (auto* flowers = dynamic_cast<AflowersScene*>(byStage[1]))
        flowers->next = dynamic_cast<RibbonsScene*>(byStage[2]);
}
