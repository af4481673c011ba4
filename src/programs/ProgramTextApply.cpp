#include "programs/ProgramTextApply.h"

#include "programs/NvExtensions.h"

namespace programs {

void applyConstantProgram(const std::vector<ConstantStatement>& statements)
{
    for (const ConstantStatement& s : statements) {
        if (s.kind == ConstantStatement::Kind::Constant)
            nv::glProgramParameter4fvNV(GL_VERTEX_PROGRAM_NV, static_cast<GLuint>(s.address), s.values.data());
        else
            nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, static_cast<GLuint>(s.address), s.matrix, s.transform);
    }
}

namespace {

void applyPortion(GLenum stage, GLenum portion, const CombinerPortion& p)
{
    for (int v = VarA; v <= VarD; ++v)
        nv::glCombinerInputNV(stage, portion, GL_VARIABLE_A_NV + v, p.inputs[v].input, p.inputs[v].mapping,
                              p.inputs[v].usage);
    nv::glCombinerOutputNV(stage, portion, p.abOutput, p.cdOutput, p.sumOutput, p.scale, p.bias, p.abDot, p.cdDot,
                           p.muxSum);
}

} // namespace

void applyCombinerSetup(const CombinerSetup& setup, bool perStageConstants)
{
    const CombinerState& s = setup.state;
    nv::glCombinerParameteriNV(GL_NUM_GENERAL_COMBINERS_NV, s.numGeneralCombiners);
    for (int i = 0; i < s.numGeneralCombiners; ++i) {
        applyPortion(GL_COMBINER0_NV + i, GL_RGB, s.general[i].rgb);
        applyPortion(GL_COMBINER0_NV + i, GL_ALPHA, s.general[i].alpha);
    }
    for (int v = VarA; v <= VarG; ++v)
        nv::glFinalCombinerInputNV(GL_VARIABLE_A_NV + v, s.finalInputs[v].input, s.finalInputs[v].mapping,
                                   s.finalInputs[v].usage);
    nv::glCombinerParameteriNV(GL_COLOR_SUM_CLAMP_NV, s.colorSumClamp);
    if (setup.constant0)
        nv::glCombinerParameterfvNV(GL_CONSTANT_COLOR0_NV, setup.constant0->data());
    if (setup.constant1)
        nv::glCombinerParameterfvNV(GL_CONSTANT_COLOR1_NV, setup.constant1->data());
    if (!perStageConstants)
        return;
    if (!setup.perStageConstants) {
        nv::glDisable(GL_PER_STAGE_CONSTANTS_NV);
        return;
    }
    nv::glEnable(GL_PER_STAGE_CONSTANTS_NV);
    for (int i = 0; i < s.numGeneralCombiners; ++i) {
        nv::glCombinerStageParameterfvNV(GL_COMBINER0_NV + i, GL_CONSTANT_COLOR0_NV, s.general[i].constants[0].data());
        nv::glCombinerStageParameterfvNV(GL_COMBINER0_NV + i, GL_CONSTANT_COLOR1_NV, s.general[i].constants[1].data());
    }
}

void applyTextureShader(const TextureShaderState& stages)
{
    GLint active = GL_TEXTURE0;
    nv::glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    for (int i = 0; i < textureShaderStages; ++i) {
        const TextureShaderStage& stage = stages[i];
        nv::glActiveTextureARB(GL_TEXTURE0_ARB + i);
        nv::glTexEnvi(GL_TEXTURE_SHADER_NV, GL_SHADER_OPERATION_NV, static_cast<GLint>(stage.operation));
        if (i > 0)
            nv::glTexEnvi(GL_TEXTURE_SHADER_NV, GL_PREVIOUS_TEXTURE_INPUT_NV, static_cast<GLint>(stage.previousInput));
        nv::glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, stage.offsetMatrix.data());
        nv::glTexEnvf(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_SCALE_NV, stage.offsetScale);
        nv::glTexEnvf(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_BIAS_NV, stage.offsetBias);
        nv::glTexEnvi(GL_TEXTURE_SHADER_NV, GL_RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV,
                      static_cast<GLint>(stage.dotMapping));
        const GLint cull[4] = {GLint(stage.cullModes[0]), GLint(stage.cullModes[1]), GLint(stage.cullModes[2]),
                               GLint(stage.cullModes[3])};
        nv::glTexEnviv(GL_TEXTURE_SHADER_NV, GL_CULL_MODES_NV, cull);
        nv::glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_CONST_EYE_NV, stage.constEye.data());
    }
    nv::glActiveTextureARB(static_cast<GLenum>(active));
}

} // namespace programs
