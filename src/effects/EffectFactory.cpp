#include "effects/EffectFactory.h"

#include "effects/FallingParticles.h"
#include "effects/JitterEffect.h"
#include "effects/LetterBox.h"
#include "effects/OverlayImage.h"
#include "effects/PullWarp.h"
#include "effects/RCFilter.h"
#include "effects/ScriptPlayer.h"
#include "effects/TvEffect.h"

#include <cstdio>
#include <cstring>

namespace {

using Builder = std::unique_ptr<Effect> (*)(const EffectContext& context);

template <class T>
std::unique_ptr<Effect> build(const EffectContext& context)
{
    return std::make_unique<T>(context.resources);
}

// A nested script builds its effects as the script that plays it does.
std::unique_ptr<Effect> buildScriptPlayer(const EffectContext& context)
{
    return std::make_unique<ScriptPlayer>(context.resources, showEffectFactory(context));
}

// The offset filters also take the display size.
template <class T>
std::unique_ptr<Effect> buildSized(const EffectContext& context)
{
    return std::make_unique<T>(context.resources, context.width, context.height);
}

struct EffectType {
    const char* name;
    Builder build;
};

// Compared in this order; the first match is built. Each effect type adds
// its row here. "Inverse" has none on purpose: it is the key effects'
// accent, not an effect a script can drive, so it gets "cannot find".
const EffectType effectTypes[] = {
    {"LetterBox", build<LetterBox>},
    {"PullWarp", build<PullWarp>},
    {"Jitter", buildSized<JitterEffect>},
    {"TV", buildSized<TvEffect>},
    {"OverlayImage", build<OverlayImage>},
    {"FallingParticles", build<FallingParticles>},
    {"RCFilter", buildSized<RCFilter>},
    {"ScriptPlayer", buildScriptPlayer},
};

} // namespace

std::unique_ptr<Effect> createEffect(const EffectContext& context, const char* typeName)
{
    for (const EffectType& type : effectTypes)
        if (std::strcmp(type.name, typeName) == 0)
            return type.build(context);
    std::printf("cannot find %s\n", typeName);
    return nullptr;
}

EffectFactory showEffectFactory(const EffectContext& context)
{
    return [context](const char* typeName) { return createEffect(context, typeName); };
}
