// Fuzzes the script reader and plays what it read: events, layers, text
// commands and var evaluation, all without GL.
#include "FuzzEffect.h"
#include "effects/ScriptTimeline.h"

#include <cstdint>
#include <memory>
#include <string>

namespace {

std::unique_ptr<Effect> fuzzFactory(const char* typeName)
{
    if (std::string(typeName) != "Fuzz")
        return nullptr;
    auto effect = std::make_unique<FuzzEffect>();
    effect->describeDefaults();
    return effect;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptTimeline timeline(fuzzFactory, data, size, nullptr);
    for (float beat = -1.0f; beat < 40.0f; beat += 0.75f) {
        timeline.advance(beat);
        timeline.update(beat);
    }
    timeline.advance(1e30f);
    timeline.update(1e30f);
    return 0;
}
