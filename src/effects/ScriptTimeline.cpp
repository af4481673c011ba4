#include "effects/ScriptTimeline.h"

#include "effects/Effect.h"
#include "effects/ScriptReader.h"

#include <algorithm>
#include <cstdio>

ScriptTimeline::ScriptTimeline(EffectFactory createEffect, const char* fileName, ResourceManager* resources)
    : resources(resources), createEffect(std::move(createEffect))
{
    if (fileName != nullptr)
        readScriptFile(*this, fileName);
    finishLoading();
}

ScriptTimeline::ScriptTimeline(EffectFactory createEffect, const uint8_t* data, size_t size,
                               ResourceManager* resources, const char* source)
    : resources(resources), createEffect(std::move(createEffect))
{
    readScriptBytes(*this, data, size, source);
    finishLoading();
}

ScriptTimeline::~ScriptTimeline() = default;

void ScriptTimeline::finishLoading()
{
    nextEvent = 0;
    length = 0.0f;
    for (const auto& effect : effects)
        length = std::max(length, effect->end);
}

float ScriptTimeline::lastEventTime() const
{
    return events.empty() ? 0.0f : events.back().time;
}

int ScriptTimeline::advance(float beat)
{
    // Strictly before: an event at beat 8 waits for the first time past 8.
    // Events apply in file order, so one written out of time order holds
    // back the ones after it.
    while (nextEvent < events.size() && events[nextEvent].time < beat)
        apply(events[nextEvent++]);
    for (Effect* effect : layers)
        if (effect != nullptr)
            effect->advance(beat - effect->start);
    return 0;
}

int ScriptTimeline::update(float beat)
{
    for (Effect* effect : layers)
        if (effect != nullptr)
            effect->update(beat - effect->start);
    return beat >= length ? 1 : 0;
}

void ScriptTimeline::apply(const ScriptEvent& event)
{
    for (const ScriptCommand& command : event.commands)
        apply(command);
}

void ScriptTimeline::apply(const ScriptCommand& command)
{
    const bool needsLayer = command.command == commandAdd || command.command == commandRemove;
    const bool needsInstance = command.command == commandAdd || command.command == commandText;
    if (needsLayer && (command.layer < 0 || command.layer >= layerCount)) {
        std::fprintf(stderr, "script: layer %d is not in 0..%d, command ignored\n", command.layer,
                     layerCount - 1);
        return;
    }
    if (needsInstance && (command.instance < 0 || static_cast<size_t>(command.instance) >= effects.size())) {
        std::fprintf(stderr, "script: no effect instance %d, command ignored\n", command.instance);
        return;
    }
    switch (command.command) {
    case commandAdd:
        layers[command.layer] = effects[command.instance].get();
        break;
    case commandRemove:
        layers[command.layer] = nullptr;
        break;
    case commandText:
        effects[command.instance]->setParams(command.text.c_str());
        break;
    default:
        break;
    }
}
