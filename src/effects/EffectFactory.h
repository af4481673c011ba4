// The effect factory: turns a type name from a script into a ready effect.
// Every effect it builds gets the resource manager (and, for the filters
// that need it, the display size) that the playing script scene published.
//
// Names are compared exactly, case-sensitively; an unknown name prints
// "cannot find %s\n" and yields nothing. "Inverse" is one of those names:
// the inverse accent of the key effects is not an effect a script can drive.
#pragma once

#include <memory>

class Effect;
class ResourceManager;

struct EffectContext {
    ResourceManager* resources = nullptr;
    int width = 640;
    int height = 480;
};

// The factory a script timeline builds its effects with.
using EffectFactory = std::unique_ptr<Effect> (*)(const char* typeName);

// Publishes the context later `createEffect` calls hand to the effects.
void publishEffectContext(const EffectContext& context);
const EffectContext& effectContext();

std::unique_ptr<Effect> createEffect(const char* typeName);
