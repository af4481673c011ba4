#include "core/Scene.h"

#include "resources/ResourceManager.h"

Scene::Scene(ResourceManager* resources) : resources(resources)
{
    if (resources)
        resources->get(keyEffectsKey);
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

void Scene::place(float startBeat, float beats)
{
    start = timeOfBeat(startBeat);
    duration = timeOfBeat(beats);
    lengthBeats = beats;
}
