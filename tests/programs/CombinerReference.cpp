#include "programs/CombinerReference.h"

#include <algorithm>
#include <map>

using programs::Colour;
using programs::CombinerInput;
using programs::CombinerPortion;
using programs::CombinerState;

namespace reference {

namespace {

float clampTo(float v, float lo, float hi) { return std::min(std::max(v, lo), hi); }

float mapValue(float e, GLenum mapping)
{
    switch (mapping) {
    case GL_UNSIGNED_IDENTITY_NV: return std::max(0.0f, e);
    case GL_UNSIGNED_INVERT_NV: return 1.0f - clampTo(e, 0, 1);
    case GL_EXPAND_NORMAL_NV: return 2.0f * std::max(0.0f, e) - 1.0f;
    case GL_EXPAND_NEGATE_NV: return -2.0f * std::max(0.0f, e) + 1.0f;
    case GL_HALF_BIAS_NORMAL_NV: return std::max(0.0f, e) - 0.5f;
    case GL_HALF_BIAS_NEGATE_NV: return -std::max(0.0f, e) + 0.5f;
    case GL_SIGNED_NEGATE_NV: return -e;
    default: return e;
    }
}

using Registers = std::map<GLenum, Colour>;

// Three components for the rgb portion, one (in [0]) for the alpha portion.
Colour fetch(const Registers& regs, const CombinerInput& in, bool alpha)
{
    const Colour& r = regs.at(in.input);
    Colour v{};
    for (int i = 0; i < 3; ++i) {
        float e = in.usage == GL_BLUE ? r[2] : (alpha || in.usage == GL_ALPHA) ? r[3] : r[i];
        v[i] = mapValue(e, in.mapping);
    }
    return v;
}

void portion(const Registers& regs, const CombinerPortion& p, bool alpha, Registers& writes)
{
    int n = alpha ? 1 : 3;
    Colour a = fetch(regs, p.inputs[0], alpha), b = fetch(regs, p.inputs[1], alpha);
    Colour c = fetch(regs, p.inputs[2], alpha), d = fetch(regs, p.inputs[3], alpha);
    Colour ab{}, cd{}, sum{};
    float abDot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    float cdDot = c[0] * d[0] + c[1] * d[1] + c[2] * d[2];
    bool muxToCd = regs.at(GL_SPARE0_NV)[3] >= 0.5f;
    for (int i = 0; i < n; ++i) {
        ab[i] = p.abDot && !alpha ? abDot : a[i] * b[i];
        cd[i] = p.cdDot && !alpha ? cdDot : c[i] * d[i];
        sum[i] = p.muxSum ? (muxToCd ? cd[i] : ab[i]) : ab[i] + cd[i];
    }
    float bias = p.bias == GL_BIAS_BY_NEGATIVE_ONE_HALF_NV ? -0.5f : 0.0f;
    float scale = p.scale == GL_SCALE_BY_TWO_NV ? 2.0f : p.scale == GL_SCALE_BY_FOUR_NV ? 4.0f
                  : p.scale == GL_SCALE_BY_ONE_HALF_NV ? 0.5f : 1.0f;
    const std::pair<GLenum, Colour*> outputs[] = {{p.abOutput, &ab}, {p.cdOutput, &cd}, {p.sumOutput, &sum}};
    for (const auto& o : outputs) {
        if (o.first == GL_DISCARD_NV)
            continue;
        Colour& target = writes.count(o.first) ? writes[o.first] : (writes[o.first] = regs.at(o.first));
        for (int i = 0; i < n; ++i)
            target[alpha ? 3 : i] = clampTo(((*o.second)[i] + bias) * scale, -1, 1);
    }
}

float finalValue(const Registers& regs, const CombinerInput& in, int component)
{
    const Colour& r = regs.at(in.input);
    float e = in.usage == GL_BLUE ? r[2] : in.usage == GL_ALPHA ? r[3] : r[component];
    return in.mapping == GL_UNSIGNED_INVERT_NV ? 1.0f - clampTo(e, 0, 1) : std::max(0.0f, e);
}

} // namespace

Colour evaluateCombiners(const CombinerState& s, bool perStageConstants, const CombinerRegisters& in)
{
    Registers regs{{GL_ZERO, {}}, {GL_FOG, in.fog}, {GL_PRIMARY_COLOR_NV, in.col0}, {GL_SECONDARY_COLOR_NV, in.col1},
                   {GL_SPARE0_NV, {0, 0, 0, in.tex[0][3]}}, {GL_SPARE1_NV, {}}};
    for (int i = 0; i < 4; ++i)
        regs[GL_TEXTURE0_ARB + i] = in.tex[i];
    for (int stage = 0; stage < s.numGeneralCombiners; ++stage) {
        const auto& constants = perStageConstants ? s.general[stage].constants : s.constants;
        regs[GL_CONSTANT_COLOR0_NV] = constants[0];
        regs[GL_CONSTANT_COLOR1_NV] = constants[1];
        Registers writes;
        portion(regs, s.general[stage].rgb, false, writes);
        Registers alphaWrites;
        portion(regs, s.general[stage].alpha, true, alphaWrites);
        for (auto& w : writes)
            for (int i = 0; i < 3; ++i)
                regs[w.first][i] = w.second[i];
        for (auto& w : alphaWrites)
            regs[w.first][3] = w.second[3];
    }
    regs[GL_CONSTANT_COLOR0_NV] = s.constants[0];
    regs[GL_CONSTANT_COLOR1_NV] = s.constants[1];
    Colour ef{}, sum{};
    for (int i = 0; i < 3; ++i) {
        ef[i] = finalValue(regs, s.finalInputs[4], i) * finalValue(regs, s.finalInputs[5], i);
        sum[i] = regs[GL_SPARE0_NV][i] + in.col1[i];
        if (s.colorSumClamp)
            sum[i] = clampTo(sum[i], 0, 1);
    }
    regs[GL_E_TIMES_F_NV] = ef;
    regs[GL_SPARE0_PLUS_SECONDARY_COLOR_NV] = sum;
    Colour out{};
    for (int i = 0; i < 3; ++i) {
        float a = finalValue(regs, s.finalInputs[0], i), b = finalValue(regs, s.finalInputs[1], i);
        float c = finalValue(regs, s.finalInputs[2], i), d = finalValue(regs, s.finalInputs[3], i);
        out[i] = clampTo(a * b + (1 - a) * c + d, 0, 1);
    }
    out[3] = clampTo(finalValue(regs, s.finalInputs[6], 3), 0, 1);
    return out;
}

} // namespace reference
