#include "core/Scene.h"

#include "resources/ResourceManager.h"

namespace {

Scene* keyEffectsObject = nullptr;

} // namespace

Scene::Scene(ResourceManager* resources) : resources(resources)
{
    if (resources)
        keyEffectsObject = resources->get(keyEffectsKey);
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
