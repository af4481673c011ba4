// ScriptTimeline: one loaded script. It owns the effect instances the script
// creates (numbered in the order of their "effect" elements), puts them on
// 100 layers as its timed events say, and drives the effects on the layers
// in layer order, so a higher layer draws over a lower one.
//
// Script time is in beats. Events are applied in file order, each once, by
// the first `advance` whose time is past the event's; playing backwards
// undoes nothing. Effects stay on their layers until a remove command, even
// after their own end.
#pragma once

#include "effects/EffectFactory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Effect;
class ResourceManager;

enum ScriptCommandType {
    commandUnknown = -1, // a keyword the reader does not know: does nothing
    commandAdd = 0,
    commandRemove = 1,
    commandText = 2,
};

struct ScriptCommand {
    int command = commandUnknown;
    int layer = -1;
    int instance = -1;
    std::string text; // assignments a text command sends to its instance
};

struct ScriptEvent {
    float time = 0.0f; // beats
    std::vector<ScriptCommand> commands;
};

class ScriptTimeline {
public:
    static constexpr int layerCount = 100;

    // Loads the script at `fileName`, a path used as given. A file that
    // cannot be opened gives an empty timeline.
    ScriptTimeline(EffectFactory createEffect, const char* fileName, ResourceManager* resources);
    // Loads a script held in memory; parse errors name it `source`.
    ScriptTimeline(EffectFactory createEffect, const uint8_t* data, size_t size, ResourceManager* resources,
                   const char* source = "script");
    ~ScriptTimeline();
    ScriptTimeline(const ScriptTimeline&) = delete;
    ScriptTimeline& operator=(const ScriptTimeline&) = delete;

    // Applies the events before `beat`, then advances the layered effects.
    int advance(float beat);
    // Draws the layered effects; 1 once `beat` has reached `length`.
    int update(float beat);

    // The time of the last event in file order, 0 without events.
    float lastEventTime() const;

    ResourceManager* resources;
    EffectFactory createEffect;
    std::vector<std::unique_ptr<Effect>> effects;
    std::vector<std::string> effectTypes; // the type name of each instance
    std::array<Effect*, layerCount> layers{};
    std::vector<ScriptEvent> events;
    size_t nextEvent = 0;
    float length = 0.0f; // the latest end of all effects, in beats

private:
    void finishLoading();
    void apply(const ScriptEvent& event);
    void apply(const ScriptCommand& command);
};
