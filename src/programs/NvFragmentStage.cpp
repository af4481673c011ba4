// The layer's fragment stage: while register combiners or texture shaders
// are enabled, an ARB fragment program built from their state and from the
// texture targets of each unit replaces fixed-function texturing.
#include "programs/FragmentProgramBuilder.h"
#include "programs/NvLayerState.h"

namespace nv::detail {

namespace {

// The highest-priority texture target enabled on the active unit.
GLenum enabledTarget()
{
    const GLenum byPriority[] = {GL_TEXTURE_CUBE_MAP, GL_TEXTURE_3D, GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_2D,
                                 GL_TEXTURE_1D};
    for (GLenum target : byPriority)
        if (::glIsEnabled(target))
            return target;
    return 0;
}

GLenum bindingOf(GLenum target)
{
    switch (target) {
    case GL_TEXTURE_1D: return GL_TEXTURE_BINDING_1D;
    case GL_TEXTURE_3D: return GL_TEXTURE_BINDING_3D;
    case GL_TEXTURE_RECTANGLE_NV: return GL_TEXTURE_BINDING_RECTANGLE_NV;
    case GL_TEXTURE_CUBE_MAP: return GL_TEXTURE_BINDING_CUBE_MAP;
    default: return GL_TEXTURE_BINDING_2D;
    }
}

// How the texture bound to `target` on the active unit reads.
programs::TextureFormat boundFormat(GLenum target)
{
    GLint name = 0;
    ::glGetIntegerv(bindingOf(target), &name);
    auto nvFormat = state().nvTextureFormats.find(static_cast<GLuint>(name));
    if (nvFormat != state().nvTextureFormats.end())
        return nvFormat->second;
    GLenum level = target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X : target;
    GLint red = 0, alpha = 0, luminance = 0, intensity = 0;
    ::glGetTexLevelParameteriv(level, 0, GL_TEXTURE_RED_SIZE, &red);
    ::glGetTexLevelParameteriv(level, 0, GL_TEXTURE_ALPHA_SIZE, &alpha);
    ::glGetTexLevelParameteriv(level, 0, GL_TEXTURE_LUMINANCE_SIZE, &luminance);
    ::glGetTexLevelParameteriv(level, 0, GL_TEXTURE_INTENSITY_SIZE, &intensity);
    if (intensity > 0)
        return programs::TextureFormat::Intensity;
    if (luminance > 0)
        return alpha > 0 ? programs::TextureFormat::LuminanceAlpha : programs::TextureFormat::Luminance;
    if (red == 0 && alpha > 0)
        return programs::TextureFormat::Alpha;
    return alpha > 0 ? programs::TextureFormat::Rgba : programs::TextureFormat::Rgb;
}

programs::FragmentDescription describe()
{
    LayerState& s = state();
    programs::FragmentDescription d;
    d.combiners = s.combinersEnabled;
    d.textureShader = s.textureShaderEnabled;
    d.perStageConstants = s.perStageConstants;
    d.combinerState = s.combiners;
    d.shader = s.textureShader;
    GLint active = GL_TEXTURE0;
    ::glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    for (int i = 0; i < programs::textureShaderStages; ++i) {
        ::glActiveTexture(GL_TEXTURE0 + i);
        programs::FragmentUnit& unit = d.units[i];
        unit.target = d.textureShader ? programs::textureShaderTarget(s.textureShader[i].operation) : enabledTarget();
        if (unit.target != 0)
            unit.format = boundFormat(unit.target);
        if (!d.combiners) {
            GLint mode = GL_MODULATE;
            ::glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
            unit.envMode = static_cast<GLenum>(mode);
        }
    }
    ::glActiveTexture(static_cast<GLenum>(active));
    GLint colourControl = GL_SINGLE_COLOR;
    ::glGetIntegerv(GL_LIGHT_MODEL_COLOR_CONTROL, &colourControl);
    d.colorSum = ::glIsEnabled(GL_COLOR_SUM) ||
                 (::glIsEnabled(GL_LIGHTING) && colourControl == GL_SEPARATE_SPECULAR_COLOR);
    d.fog = ::glIsEnabled(GL_FOG);
    GLint fogMode = GL_EXP;
    ::glGetIntegerv(GL_FOG_MODE, &fogMode);
    d.fogMode = static_cast<GLenum>(fogMode);
    return d;
}

void setLocals()
{
    const LayerState& s = state();
    const GLenum fp = GL_FRAGMENT_PROGRAM_ARB;
    ::glProgramLocalParameter4fvARB(fp, programs::localConstant0, s.combiners.constants[0].data());
    ::glProgramLocalParameter4fvARB(fp, programs::localConstant1, s.combiners.constants[1].data());
    for (int stage = 0; stage < programs::maxGeneralCombiners; ++stage)
        for (int k = 0; k < 2; ++k)
            ::glProgramLocalParameter4fvARB(fp, programs::localStageConstants + 2 * stage + k,
                                            s.combiners.general[stage].constants[k].data());
    for (int unit = 0; unit < programs::textureShaderStages; ++unit) {
        const programs::TextureShaderStage& stage = s.textureShader[unit];
        ::glProgramLocalParameter4fvARB(fp, programs::localOffsetMatrix + unit, stage.offsetMatrix.data());
        ::glProgramLocalParameter4fARB(fp, programs::localOffsetScaleBias + unit, stage.offsetScale,
                                       stage.offsetBias, 0, 0);
        ::glProgramLocalParameter4fARB(fp, programs::localConstEye + unit, stage.constEye[0], stage.constEye[1],
                                       stage.constEye[2], 0);
    }
}

} // namespace

void updateFragmentProgram()
{
    LayerState& s = state();
    // Nothing reaches GL while a list is being compiled: GL would record it.
    if (s.recordingList != 0 && s.replaying == 0)
        return;
    if (!s.combinersEnabled && !s.textureShaderEnabled) {
        // Also when this layer did not turn it on here: a context switch or
        // an attribute pop may have left it on.
        ::glDisable(GL_FRAGMENT_PROGRAM_ARB);
        return;
    }
    std::string text = programs::buildFragmentProgram(describe());
    auto found = s.fragmentPrograms.find(text);
    GLuint id = found != s.fragmentPrograms.end() ? found->second : 0;
    if (found == s.fragmentPrograms.end()) {
        id = loadArbProgram(GL_FRAGMENT_PROGRAM_ARB, text);
        s.fragmentPrograms.emplace(std::move(text), id);
    }
    if (id == 0) {
        // Already reported; drawing unprogrammed beats drawing nothing.
        ::glDisable(GL_FRAGMENT_PROGRAM_ARB);
        return;
    }
    ::glEnable(GL_FRAGMENT_PROGRAM_ARB);
    ::glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, id);
    setLocals();
}

} // namespace nv::detail
