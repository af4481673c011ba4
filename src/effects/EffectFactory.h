// The effect factory: turns a type name from a script into a ready effect.
// A factory carries its context, the resource manager and display size that
// every effect it builds gets (the offset filters use the size); a nested
// script player gets the same factory for its own effects.
//
// Names are compared exactly, case-sensitively; an unknown name prints
// "cannot find %s\n" and yields nothing. "Inverse" is one of those names:
// the inverse accent of the key effects is not an effect a script can drive.
#pragma once

#include "core/VirtualScreen.h"

#include <functional>
#include <memory>

class Effect;
class ResourceManager;

struct EffectContext {
    ResourceManager* resources = nullptr;
    int width = virtualScreenWidth;
    int height = virtualScreenHeight;
};

// What a script timeline builds its effects with; tests hand in their own.
using EffectFactory = std::function<std::unique_ptr<Effect>(const char* typeName)>;

// The show's effect types, built with `context`.
std::unique_ptr<Effect> createEffect(const EffectContext& context, const char* typeName);
EffectFactory showEffectFactory(const EffectContext& context);
