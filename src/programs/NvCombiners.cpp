// NV_register_combiners(2) entry points of the layer (see NvExtensions.h).
#include "programs/NvExtensions.h"

#include "programs/NvLayerState.h"

#include <algorithm>
#include <climits>

namespace nv {

using detail::raise;
using detail::state;

namespace {

int stageIndex(GLenum stage)
{
    return stage >= GL_COMBINER0_NV && stage < GL_COMBINER0_NV + programs::maxGeneralCombiners
               ? static_cast<int>(stage - GL_COMBINER0_NV)
               : -1;
}

bool isReadableRegister(GLenum reg)
{
    switch (reg) {
    case GL_ZERO: case GL_CONSTANT_COLOR0_NV: case GL_CONSTANT_COLOR1_NV: case GL_FOG:
    case GL_PRIMARY_COLOR_NV: case GL_SECONDARY_COLOR_NV: case GL_SPARE0_NV: case GL_SPARE1_NV:
    case GL_TEXTURE0_ARB: case GL_TEXTURE1_ARB: case GL_TEXTURE2_ARB: case GL_TEXTURE3_ARB:
        return true;
    default:
        return false;
    }
}

bool isOutputRegister(GLenum reg)
{
    switch (reg) {
    case GL_DISCARD_NV: case GL_PRIMARY_COLOR_NV: case GL_SECONDARY_COLOR_NV: case GL_SPARE0_NV:
    case GL_SPARE1_NV: case GL_TEXTURE0_ARB: case GL_TEXTURE1_ARB: case GL_TEXTURE2_ARB: case GL_TEXTURE3_ARB:
        return true;
    default:
        return false;
    }
}

bool isMapping(GLenum mapping)
{
    return mapping >= GL_UNSIGNED_IDENTITY_NV && mapping <= GL_SIGNED_NEGATE_NV;
}

programs::Colour clampedColour(const GLfloat* v)
{
    programs::Colour c;
    for (int i = 0; i < 4; ++i)
        c[i] = std::clamp(v[i], 0.0f, 1.0f);
    return c;
}

void setParameter(GLenum pname, const GLfloat* params)
{
    programs::CombinerState& c = state().combiners;
    switch (pname) {
    case GL_CONSTANT_COLOR0_NV: c.constants[0] = clampedColour(params); break;
    case GL_CONSTANT_COLOR1_NV: c.constants[1] = clampedColour(params); break;
    case GL_NUM_GENERAL_COMBINERS_NV:
        if (params[0] < 1 || params[0] > programs::maxGeneralCombiners) {
            raise(GL_INVALID_VALUE);
            return;
        }
        c.numGeneralCombiners = static_cast<int>(params[0]);
        break;
    case GL_COLOR_SUM_CLAMP_NV: c.colorSumClamp = params[0] != 0; break;
    default: raise(GL_INVALID_ENUM); return;
    }
}

int parameterSize(GLenum pname)
{
    return pname == GL_CONSTANT_COLOR0_NV || pname == GL_CONSTANT_COLOR1_NV ? 4 : 1;
}

} // namespace

void glCombinerParameterfvNV(GLenum pname, const GLfloat* params)
{
    programs::Colour v{};
    std::copy(params, params + parameterSize(pname), v.begin());
    if (detail::deferToList([=] { glCombinerParameterfvNV(pname, v.data()); }))
        return;
    setParameter(pname, v.data());
}

void glCombinerParameterfNV(GLenum pname, GLfloat param)
{
    if (parameterSize(pname) != 1) {
        raise(GL_INVALID_ENUM);
        return;
    }
    glCombinerParameterfvNV(pname, &param);
}

void glCombinerParameterivNV(GLenum pname, const GLint* params)
{
    GLfloat v[4] = {};
    bool colour = parameterSize(pname) == 4;
    for (int i = 0; i < parameterSize(pname); ++i)
        v[i] = colour ? static_cast<GLfloat>(params[i]) / static_cast<GLfloat>(INT_MAX) : static_cast<GLfloat>(params[i]);
    glCombinerParameterfvNV(pname, v);
}

void glCombinerParameteriNV(GLenum pname, GLint param)
{
    if (parameterSize(pname) != 1) {
        raise(GL_INVALID_ENUM);
        return;
    }
    glCombinerParameterivNV(pname, &param);
}

void glCombinerInputNV(GLenum stage, GLenum portion, GLenum variable, GLenum input, GLenum mapping,
                       GLenum componentUsage)
{
    if (detail::deferToList([=] { glCombinerInputNV(stage, portion, variable, input, mapping, componentUsage); }))
        return;
    int s = stageIndex(stage);
    if (s < 0 || (portion != GL_RGB && portion != GL_ALPHA) || variable < GL_VARIABLE_A_NV ||
        variable > GL_VARIABLE_D_NV || !isReadableRegister(input) || !isMapping(mapping) ||
        (componentUsage != GL_RGB && componentUsage != GL_ALPHA && componentUsage != GL_BLUE)) {
        raise(GL_INVALID_ENUM);
        return;
    }
    bool alpha = portion == GL_ALPHA;
    if ((alpha && componentUsage == GL_RGB) || (!alpha && componentUsage == GL_BLUE)) {
        raise(GL_INVALID_OPERATION);
        return;
    }
    programs::GeneralCombiner& g = state().combiners.general[s];
    (alpha ? g.alpha : g.rgb).inputs[variable - GL_VARIABLE_A_NV] = {input, mapping, componentUsage};
}

void glCombinerOutputNV(GLenum stage, GLenum portion, GLenum abOutput, GLenum cdOutput, GLenum sumOutput,
                        GLenum scale, GLenum bias, GLboolean abDotProduct, GLboolean cdDotProduct,
                        GLboolean muxSum)
{
    if (detail::deferToList([=] {
            glCombinerOutputNV(stage, portion, abOutput, cdOutput, sumOutput, scale, bias, abDotProduct,
                               cdDotProduct, muxSum);
        }))
        return;
    int s = stageIndex(stage);
    bool scaleOk = scale == GL_NONE || scale == GL_SCALE_BY_TWO_NV || scale == GL_SCALE_BY_FOUR_NV ||
                   scale == GL_SCALE_BY_ONE_HALF_NV;
    if (s < 0 || (portion != GL_RGB && portion != GL_ALPHA) || !isOutputRegister(abOutput) ||
        !isOutputRegister(cdOutput) || !isOutputRegister(sumOutput) || !scaleOk ||
        (bias != GL_NONE && bias != GL_BIAS_BY_NEGATIVE_ONE_HALF_NV)) {
        raise(GL_INVALID_ENUM);
        return;
    }
    bool sameRegister = (abOutput != GL_DISCARD_NV && (abOutput == cdOutput || abOutput == sumOutput)) ||
                        (cdOutput != GL_DISCARD_NV && cdOutput == sumOutput);
    bool badBias = bias != GL_NONE && (scale == GL_SCALE_BY_FOUR_NV || scale == GL_SCALE_BY_ONE_HALF_NV);
    bool alphaDot = portion == GL_ALPHA && (abDotProduct || cdDotProduct);
    if (sameRegister || badBias || alphaDot) {
        raise(GL_INVALID_OPERATION);
        return;
    }
    programs::GeneralCombiner& g = state().combiners.general[s];
    programs::CombinerPortion& p = portion == GL_ALPHA ? g.alpha : g.rgb;
    p.abOutput = abOutput;
    p.cdOutput = cdOutput;
    p.sumOutput = sumOutput;
    p.scale = scale;
    p.bias = bias;
    p.abDot = abDotProduct;
    p.cdDot = cdDotProduct;
    p.muxSum = muxSum;
}

void glFinalCombinerInputNV(GLenum variable, GLenum input, GLenum mapping, GLenum componentUsage)
{
    if (detail::deferToList([=] { glFinalCombinerInputNV(variable, input, mapping, componentUsage); }))
        return;
    bool special = input == GL_E_TIMES_F_NV || input == GL_SPARE0_PLUS_SECONDARY_COLOR_NV;
    if (variable < GL_VARIABLE_A_NV || variable > GL_VARIABLE_G_NV || !(isReadableRegister(input) || special) ||
        (mapping != GL_UNSIGNED_IDENTITY_NV && mapping != GL_UNSIGNED_INVERT_NV) ||
        (componentUsage != GL_RGB && componentUsage != GL_ALPHA && componentUsage != GL_BLUE)) {
        raise(GL_INVALID_ENUM);
        return;
    }
    bool isG = variable == GL_VARIABLE_G_NV;
    bool badUsage = isG ? componentUsage == GL_RGB : componentUsage == GL_BLUE;
    bool badSpecial = special && (variable > GL_VARIABLE_D_NV || componentUsage == GL_ALPHA);
    if (badUsage || badSpecial) {
        raise(GL_INVALID_OPERATION);
        return;
    }
    state().combiners.finalInputs[variable - GL_VARIABLE_A_NV] = {input, mapping, componentUsage};
}

void glCombinerStageParameterfvNV(GLenum stage, GLenum pname, const GLfloat* params)
{
    programs::Colour v{params[0], params[1], params[2], params[3]};
    if (detail::deferToList([=] { glCombinerStageParameterfvNV(stage, pname, v.data()); }))
        return;
    int s = stageIndex(stage);
    if (s < 0 || (pname != GL_CONSTANT_COLOR0_NV && pname != GL_CONSTANT_COLOR1_NV)) {
        raise(GL_INVALID_ENUM);
        return;
    }
    state().combiners.general[s].constants[pname == GL_CONSTANT_COLOR0_NV ? 0 : 1] = clampedColour(v.data());
}

} // namespace nv
