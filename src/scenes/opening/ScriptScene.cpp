#include "scenes/opening/ScriptScene.h"

#include "resources/ResourceManager.h"

ScriptScene::ScriptScene(const char* path, ResourceManager* resources) : Scene(resources)
{
    EffectContext context;
    context.resources = resources;
    if (resources != nullptr) {
        context.width = resources->screenWidth;
        context.height = resources->screenHeight;
    }
    timeline = std::make_unique<ScriptTimeline>(showEffectFactory(context), path, resources);
}

int ScriptScene::update(float time)
{
    const float beat = localBeat(time);
    timeline->advance(beat);
    timeline->update(beat);
    return localTime(time) >= duration ? 1 : 0;
}
