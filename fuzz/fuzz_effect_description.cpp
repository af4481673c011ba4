// Fuzzes the effect description reader, then the same bytes as assignment
// text for setParams and as number lists.
#include "FuzzEffect.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEffect effect;
    effect.readDescription(data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    effect.setParams(text.c_str());
    effect.setParam("colour", text.c_str());
    effect.setParam("axis", text.c_str());
    effect.prepareKeys();
    effect.update(1.0f);
    return 0;
}
