#include "scenes/ShowTimeline.h"

#include "resources/ResourceManager.h"
#include "scenes/aflowers/AflowersScene.h"
#include "scenes/flowers/FlowersScene.h"
#include "scenes/fluid/FluidScene.h"
#include "scenes/funksphere/FunkSphereScene.h"
#include "scenes/metaballs/VolumeScene.h"
#include "scenes/opening/ScriptScene.h"
#include "scenes/ribbonstack/RibbonStackScene.h"
#include "scenes/shadow/ShadowScene.h"
#include "scenes/tunnel/RibbonsScene.h"

namespace {

std::unique_ptr<Scene> buildOpening(ResourceManager& resources, RunState&)
{
    char path[ResourceManager::pathSize];
    if (!resources.findFile("intro.script", path))
        return nullptr;
    return std::make_unique<ScriptScene>(path, &resources);
}

template <class SceneClass>
std::unique_ptr<Scene> build(ResourceManager& resources, RunState&)
{
    return std::make_unique<SceneClass>(&resources);
}

// Scenes that keep a record for the whole run.
template <class SceneClass, class Record>
std::unique_ptr<Scene> buildWithRecord(ResourceManager& resources, RunState& run)
{
    return std::make_unique<SceneClass>(&resources, run.get<Record>());
}

// Each scene starts on the beat its section of the music starts; the show
// ends on beat 419.
const Timeline timeline = {{
    {"ScriptScene", 0, 56, buildOpening},  // plays "intro.script"
    {"AflowersScene", 56, 34, build<AflowersScene>},
    {"RibbonsScene", 90, 30, build<RibbonsScene>},
    {"VolumeScene", 120, 48, buildWithRecord<VolumeScene, VolumeDirection>},
    {"ShadowScene", 168, 49, buildWithRecord<ShadowScene, ShadowRunState>},
    {"RibbonStackScene", 217, 56, build<RibbonStackScene>},
    {"FlowersScene", 273, 70, build<FlowersScene>},
    {"FunkSphereScene", 343, 54, build<FunkSphereScene>},
    {"FluidScene", 397, 22, buildWithRecord<FluidScene, FluidPen>},
}};

} // namespace

const Timeline& showTimeline() { return timeline; }

std::unique_ptr<Scene> buildShowScene(int stage, ResourceManager& resources, RunState& run)
{
    const TimelineRow& row = timeline.at(static_cast<size_t>(stage));
    std::unique_ptr<Scene> scene = row.build(resources, run);
    if (scene)
        scene->place(row.startBeat, row.lengthBeats);
    return scene;
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
