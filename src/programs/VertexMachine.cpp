#include "programs/VertexMachine.h"

#include <algorithm>
#include <cmath>

namespace programs {

namespace {

Vec4 fetch(const VertexMachine& m, const VpSource& s)
{
    Vec4 raw{};
    switch (s.file) {
    case VpFile::Attribute: raw = m.attributes[s.index]; break;
    case VpFile::Temporary: raw = m.temporaries[s.index]; break;
    case VpFile::Parameter: {
        // Relative reads outside the parameter file read zero.
        long index = s.relative ? static_cast<long>(m.address) + s.index : s.index;
        if (index >= 0 && index < vpParameterCount)
            raw = m.parameters[index];
        break;
    }
    default: break;
    }
    Vec4 v;
    for (int i = 0; i < 4; ++i)
        v[i] = s.negate ? -raw[s.swizzle[i]] : raw[s.swizzle[i]];
    return v;
}

float dot(const Vec4& a, const Vec4& b, int n)
{
    float sum = 0;
    for (int i = 0; i < n; ++i)
        sum += a[i] * b[i];
    return sum;
}

Vec4 splat(float f) { return {f, f, f, f}; }

Vec4 componentwise(const Vec4& a, const Vec4& b, float (*f)(float, float))
{
    return {f(a[0], b[0]), f(a[1], b[1]), f(a[2], b[2]), f(a[3], b[3])};
}

Vec4 exponential(float x)
{
    float fl = std::floor(x);
    return {std::exp2(fl), x - fl, std::exp2(x), 1.0f};
}

Vec4 logarithm(float x)
{
    float a = std::fabs(x);
    if (a == 0.0f) {
        float inf = -HUGE_VALF;
        return {inf, inf, inf, 1.0f};
    }
    int exponent = 0;
    float mantissa = std::frexp(a, &exponent);   // a = mantissa * 2^exponent, mantissa in [0.5, 1)
    return {static_cast<float>(exponent - 1), mantissa * 2.0f, std::log2(a), 1.0f};
}

Vec4 lighting(const Vec4& s)
{
    const float limit = 128.0f - 1.0f / 256.0f;
    float power = std::clamp(s[3], -limit, limit);
    float diffuse = std::max(s[0], 0.0f);
    float specular = s[0] > 0.0f ? std::pow(std::max(s[1], 0.0f), power) : 0.0f;
    return {1.0f, diffuse, specular, 1.0f};
}

Vec4 evaluate(VertexMachine& m, const VpInstruction& inst)
{
    Vec4 a = inst.sourceCount > 0 ? fetch(m, inst.src[0]) : Vec4{};
    Vec4 b = inst.sourceCount > 1 ? fetch(m, inst.src[1]) : Vec4{};
    Vec4 c = inst.sourceCount > 2 ? fetch(m, inst.src[2]) : Vec4{};
    switch (inst.op) {
    case VpOpcode::ARL: return splat(std::floor(a[0]));
    case VpOpcode::MOV: return a;
    case VpOpcode::LIT: return lighting(a);
    case VpOpcode::RCP: return splat(1.0f / a[0]);
    case VpOpcode::RSQ: return splat(1.0f / std::sqrt(std::fabs(a[0])));
    case VpOpcode::EXP: return exponential(a[0]);
    case VpOpcode::LOG: return logarithm(a[0]);
    case VpOpcode::MUL: return componentwise(a, b, [](float x, float y) { return x * y; });
    case VpOpcode::ADD: return componentwise(a, b, [](float x, float y) { return x + y; });
    case VpOpcode::DP3: return splat(dot(a, b, 3));
    case VpOpcode::DP4: return splat(dot(a, b, 4));
    case VpOpcode::DST: return {1.0f, a[1] * b[1], a[2], b[3]};
    case VpOpcode::MIN: return componentwise(a, b, [](float x, float y) { return x < y ? x : y; });
    case VpOpcode::MAX: return componentwise(a, b, [](float x, float y) { return x >= y ? x : y; });
    case VpOpcode::SLT: return componentwise(a, b, [](float x, float y) { return x < y ? 1.0f : 0.0f; });
    case VpOpcode::SGE: return componentwise(a, b, [](float x, float y) { return x >= y ? 1.0f : 0.0f; });
    case VpOpcode::MAD:
        return {a[0] * b[0] + c[0], a[1] * b[1] + c[1], a[2] * b[2] + c[2], a[3] * b[3] + c[3]};
    }
    return {};
}

} // namespace

void VertexMachine::run(const VertexProgram& program)
{
    temporaries.fill(Vec4{});
    outputs.fill(Vec4{0, 0, 0, 1});
    address = 0;
    for (const VpInstruction& inst : program.instructions) {
        Vec4 result = evaluate(*this, inst);
        if (inst.dst.file == VpFile::Address) {
            // Far-out values would overflow int; they address nothing either way.
            float f = result[0];
            address = std::isnan(f) ? vpParameterCount : static_cast<int>(std::clamp(f, -1.0e6f, 1.0e6f));
            continue;
        }
        Vec4* target = nullptr;
        switch (inst.dst.file) {
        case VpFile::Temporary: target = &temporaries[inst.dst.index]; break;
        case VpFile::Output: target = &outputs[inst.dst.index]; break;
        case VpFile::Parameter: target = &parameters[inst.dst.index]; break;
        default: break;
        }
        if (!target)
            continue;
        for (int i = 0; i < 4; ++i)
            if (inst.dst.mask & (1 << i))
                (*target)[i] = result[i];
    }
}

} // namespace programs
