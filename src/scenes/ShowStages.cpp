// The show's scenes in the order they play, one loading stage each, and the
// references some of them keep to others. A row stays empty until its scene
// exists; the list then just holds fewer scenes.
#include "scenes/ShowStages.h"

#include "effects/ScriptScene.h"
#include "resources/ResourceManager.h"
#include "scenes/FlowersScene.h"
#include "scenes/RibbonStackScene.h"

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
    // 1: the abstract flowers.
    // 2: the ribbon tunnel (RibbonsScene).
    // 3: the volume metaballs.
    // 4: the shadow room (ShadowScene).
    stages[5] = [](ResourceManager& r) { return std::make_unique<RibbonStackScene>(&r); };  // the ribbon stack
    stages[6] = [](ResourceManager& r) { return std::make_unique<FlowersScene>(&r); };  // the flower field
    // 7: the funk sphere.
    // 8: the fluid (FluidScene), which closes the show.
    return stages;
}

void linkShowScenes(const std::array<Scene*, sceneStageCount>& byStage)
{
    // The opening keeps the scene that follows it, the abstract flowers.
    if (auto* opening = dynamic_cast<ScriptScene*>(byStage[0]); opening && byStage[1])
        opening->followingScene = byStage[1];
}
