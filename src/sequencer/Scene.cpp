#include "sequencer/Scene.h"

#include "resources/ResourceManager.h"

namespace {

Scene* keyEffectsObject = nullptr;

// The key-effect object is itself a scene, and the manager builds it on the
// first request for its name: its own construction must not ask for it
// again, or the request would build another one, and so on without end.
bool refreshingKeyEffects = false;

void refreshKeyEffects(ResourceManager& resources)
{
    if (refreshingKeyEffects)
        return;
    refreshingKeyEffects = true;
    keyEffectsObject = resources.getObjectAs<Scene>("KeyEffects");
    refreshingKeyEffects = false;
}

} // namespace

Scene::Scene(ResourceManager* resources) : resources(resources)
{
    if (resources)
        refreshKeyEffects(*resources);
}

int Scene::advance(float) { return 0; }
int Scene::onKey(int, int, int) { return 0; }
int Scene::reserved() { return 0; }

float Scene::beatAt(float time) const
{
    const float beat = time * tempo / 60.0f;
    return beat < 0.0f ? 0.0f : beat;
}

float Scene::timeOfBeat(float beats) const
{
    return 60.0f / tempo * beats;
}

Scene* currentKeyEffects() { return keyEffectsObject; }

void setCurrentKeyEffects(Scene* keyEffects) { keyEffectsObject = keyEffects; }
