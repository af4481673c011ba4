#include "effects/EffectVar.h"

#include <cstddef>

namespace {

// The slope that leaves a key which starts a curve (no TCB segment leads
// into it): straight towards the next key, or bent by the key after it when
// the next segment is a curve as well.
float startSlope(const std::vector<VarKey>& keys, size_t i, size_t q)
{
    const size_t last = keys.size() - 1;
    if (q == last || keys[q].type != keyTCB)
        return keys[q].value - keys[i].value;
    return 1.5f * (keys[q].value - keys[i].value) - 0.5f * (keys[q + 1].value - keys[i].value);
}

// The slope that arrives at the last key from the TCB key p before it.
float endSlope(const std::vector<VarKey>& keys, size_t i, size_t p)
{
    if (p == 0 || keys[p - 1].type != keyTCB)
        return keys[i].value - keys[p].value;
    return 1.5f * (keys[i].value - keys[p].value) - 0.5f * (keys[i].value - keys[p - 1].value);
}

} // namespace

void EffectVar::prepareKeys()
{
    const size_t n = keys.size();
    for (size_t i = 0; i < n; ++i) {
        VarKey& key = keys[i];
        const size_t p = i > 0 && keys[i - 1].type == keyTCB ? i - 1 : i;
        const size_t q = i + 1 < n ? i + 1 : i;
        const float t = key.tension, c = key.continuity, b = key.bias;
        if (p == i) {
            key.outTangent = (1.0f - t) * startSlope(keys, i, q);
        } else if (q != i) {
            const float before = key.value - keys[p].value;
            const float after = keys[q].value - key.value;
            key.inTangent = (1.0f - t) * (1.0f + b) * (1.0f - c) / 2.0f * before
                          + (1.0f - t) * (1.0f - b) * (1.0f + c) / 2.0f * after;
            key.outTangent = (1.0f - t) * (1.0f + b) * (1.0f + c) / 2.0f * before
                           + (1.0f - t) * (1.0f - b) * (1.0f - c) / 2.0f * after;
        } else {
            key.inTangent = (1.0f - t) * endSlope(keys, i, p);
        }
    }
}

float EffectVar::evaluate(float t) const
{
    if (keys.empty())
        return value;
    size_t next = 0;
    while (next < keys.size() && !(keys[next].time > t))
        ++next;
    if (next == keys.size())
        return keys.back().value;
    // Before the first key the var holds that key's value.
    if (next == 0)
        return keys.front().value;

    const VarKey& k0 = keys[next - 1];
    const VarKey& k1 = keys[next];
    const float s = (t - k0.time) / (k1.time - k0.time);
    switch (k0.type) {
    case keyStep:
        return k0.value;
    case keyLinear:
        return k0.value * (1.0f - s) + k1.value * s;
    case keyTCB: {
        // A quartic rather than the cubic Hermite form: it leaves k0 flat
        // and reaches k1 with k1's incoming tangent.
        const float d = k1.value - k0.value;
        const float f = k0.outTangent;
        const float e = k1.inTangent;
        const float s2 = s * s;
        return k0.value + s2 * (3.0f * d + f) - s2 * s * (2.0f * d + 2.0f * f + e) + s2 * s2 * (e + f);
    }
    default:
        return 1.0f;
    }
}
