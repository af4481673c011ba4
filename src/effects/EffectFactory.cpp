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

EffectContext publishedContext;

using Builder = std::unique_ptr<Effect> (*)(const EffectContext& context);

template <class T>
std::unique_ptr<Effect> build(const EffectContext& context)
{
    return std::make_unique<T>(context.resources);
}

// The offset filters also take the published display size.
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
    {"ScriptPlayer", build<ScriptPlayer>},
};

} // namespace

void publishEffectContext(const EffectContext& context)
{
    publishedContext = context;
}

const EffectContext& effectContext()
{
    return publishedContext;
}

std::unique_ptr<Effect> createEffect(const char* typeName)
{
    for (const EffectType& type : effectTypes)
        if (std::strcmp(type.name, typeName) == 0)
            return type.build(publishedContext);
    std::printf("cannot find %s\n", typeName);
    return nullptr;
}
