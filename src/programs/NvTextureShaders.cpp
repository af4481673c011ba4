// NV_texture_shader state and GL_DSDT_NV offset textures (see NvExtensions.h).
#include "programs/NvExtensions.h"

#include "programs/NvLayerState.h"

#include <algorithm>
#include <vector>

namespace nv {

using detail::raise;
using detail::state;

namespace {

bool isShaderOperation(GLenum op)
{
    switch (op) {
    case GL_NONE: case GL_TEXTURE_1D: case GL_TEXTURE_2D: case GL_TEXTURE_3D: case GL_TEXTURE_RECTANGLE_NV:
    case GL_TEXTURE_CUBE_MAP: case GL_PASS_THROUGH_NV: case GL_CULL_FRAGMENT_NV:
    case GL_OFFSET_TEXTURE_2D_NV: case GL_OFFSET_TEXTURE_2D_SCALE_NV: case GL_OFFSET_TEXTURE_RECTANGLE_NV:
    case GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV: case GL_DEPENDENT_AR_TEXTURE_2D_NV:
    case GL_DEPENDENT_GB_TEXTURE_2D_NV: case GL_DOT_PRODUCT_NV: case GL_DOT_PRODUCT_DEPTH_REPLACE_NV:
    case GL_DOT_PRODUCT_TEXTURE_2D_NV: case GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV: case GL_DOT_PRODUCT_TEXTURE_3D_NV:
    case GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV: case GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV:
    case GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV: case GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV:
        return true;
    default:
        return false;
    }
}

int parameterCount(GLenum pname)
{
    switch (pname) {
    case GL_OFFSET_TEXTURE_MATRIX_NV: case GL_CULL_MODES_NV: return 4;
    case GL_CONST_EYE_NV: return 3;
    default: return 1;
    }
}

bool isCullMode(GLfloat mode) { return GLenum(mode) == GL_LESS || GLenum(mode) == GL_GEQUAL; }

bool isDotMapping(GLfloat mapping)
{
    return GLenum(mapping) == GL_UNSIGNED_IDENTITY_NV || GLenum(mapping) == GL_EXPAND_NORMAL_NV;
}

// Applies one texture-shader parameter to `unit`.
void setShaderParameter(int unit, GLenum pname, const std::vector<GLfloat>& v)
{
    if (unit < 0 || unit >= programs::textureShaderStages) {
        raise(GL_INVALID_OPERATION);
        return;
    }
    programs::TextureShaderStage& stage = state().textureShader[unit];
    switch (pname) {
    case GL_SHADER_OPERATION_NV: {
        GLenum op = static_cast<GLenum>(v[0]);
        if (!isShaderOperation(op)) {
            raise(GL_INVALID_ENUM);
            return;
        }
        stage.operation = op;
        return;
    }
    case GL_PREVIOUS_TEXTURE_INPUT_NV: {
        GLenum input = static_cast<GLenum>(v[0]);
        if (input < GL_TEXTURE0_ARB || input >= GL_TEXTURE0_ARB + static_cast<GLenum>(unit)) {
            raise(input < GL_TEXTURE0_ARB || input > GL_TEXTURE31 ? GL_INVALID_ENUM : GL_INVALID_OPERATION);
            return;
        }
        stage.previousInput = input;
        return;
    }
    case GL_OFFSET_TEXTURE_MATRIX_NV: std::copy(v.begin(), v.begin() + 4, stage.offsetMatrix.begin()); return;
    case GL_OFFSET_TEXTURE_SCALE_NV: stage.offsetScale = v[0]; return;
    case GL_OFFSET_TEXTURE_BIAS_NV: stage.offsetBias = v[0]; return;
    case GL_CULL_MODES_NV:
        if (!std::all_of(v.begin(), v.end(), isCullMode)) {
            raise(GL_INVALID_ENUM);
            return;
        }
        for (int i = 0; i < 4; ++i)
            stage.cullModes[i] = static_cast<GLenum>(v[i]);
        return;
    case GL_CONST_EYE_NV: std::copy(v.begin(), v.begin() + 3, stage.constEye.begin()); return;
    case GL_RGBA_UNSIGNED_DOT_PRODUCT_MAPPING_NV:
        if (!isDotMapping(v[0])) {
            raise(GL_INVALID_ENUM);
            return;
        }
        stage.dotMapping = static_cast<GLenum>(v[0]);
        return;
    default: raise(GL_INVALID_ENUM); return;
    }
}

int activeUnit()
{
    if (state().recordingList != 0 && state().replaying == 0)
        return state().listActiveUnit;
    GLint active = GL_TEXTURE0;
    ::glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    return active - GL_TEXTURE0;
}

void shaderParameter(GLenum pname, std::vector<GLfloat> v)
{
    int unit = activeUnit();
    if (detail::deferToList([=] { setShaderParameter(unit, pname, v); }))
        return;
    setShaderParameter(unit, pname, v);
}

struct NvFormat {
    GLint internalFormat;
    GLenum format;   // the pixel format GL takes for the NV one
    programs::TextureFormat reads;
};

// NV texel formats and what GL keeps them as: DSDT groups as float textures
// of as many components, HILO pairs as 16-bit RG, signed colours as
// signed-normalised textures.
bool nvFormat(GLint nvInternalFormat, NvFormat& out)
{
    using programs::TextureFormat;
    switch (nvInternalFormat) {
    case GL_DSDT_NV: case GL_DSDT8_NV: out = {GL_RG32F, GL_RG, TextureFormat::Offset}; return true;
    case GL_DSDT_MAG_NV: case GL_DSDT8_MAG8_NV: out = {GL_RGB32F, GL_RGB, TextureFormat::Offset}; return true;
    case GL_DSDT_MAG_VIB_NV: case GL_DSDT8_MAG8_INTENSITY8_NV:
        out = {GL_RGBA32F, GL_RGBA, TextureFormat::Offset};
        return true;
    case GL_HILO_NV: case GL_HILO16_NV: out = {GL_RG16, GL_RG, TextureFormat::Hilo}; return true;
    case GL_SIGNED_HILO_NV: case GL_SIGNED_HILO16_NV: out = {GL_RG16_SNORM, GL_RG, TextureFormat::SignedHilo}; return true;
    case GL_SIGNED_RGBA_NV: case GL_SIGNED_RGBA8_NV: out = {GL_RGBA8_SNORM, GL_RGBA, TextureFormat::Signed}; return true;
    case GL_SIGNED_RGB_NV: case GL_SIGNED_RGB8_NV: out = {GL_RGB8_SNORM, GL_RGB, TextureFormat::Signed}; return true;
    default: return false;
    }
}

// The pixel format GL takes for an NV one (GL_DSDT_NV, GL_HILO_NV, ...).
GLenum pixelFormat(GLenum format)
{
    NvFormat nv{};
    return nvFormat(static_cast<GLint>(format), nv) ? nv.format : format;
}

GLuint boundTexture(GLenum target)
{
    GLenum binding = target == GL_TEXTURE_RECTANGLE_NV ? GL_TEXTURE_BINDING_RECTANGLE_NV : GL_TEXTURE_BINDING_2D;
    GLint name = 0;
    ::glGetIntegerv(binding, &name);
    return static_cast<GLuint>(name);
}

} // namespace

void glActiveTexture(GLenum unit)
{
    ::glActiveTexture(unit);
    if (state().recordingList != 0 && state().replaying == 0)
        state().listActiveUnit = static_cast<int>(unit) - GL_TEXTURE0;
}

void glActiveTextureARB(GLenum unit) { glActiveTexture(unit); }

void glTexEnvfv(GLenum target, GLenum pname, const GLfloat* params)
{
    if (target != GL_TEXTURE_SHADER_NV) {
        ::glTexEnvfv(target, pname, params);
        return;
    }
    shaderParameter(pname, std::vector<GLfloat>(params, params + parameterCount(pname)));
}

void glTexEnviv(GLenum target, GLenum pname, const GLint* params)
{
    if (target != GL_TEXTURE_SHADER_NV) {
        ::glTexEnviv(target, pname, params);
        return;
    }
    std::vector<GLfloat> v(params, params + parameterCount(pname));
    shaderParameter(pname, v);
}

void glTexEnvi(GLenum target, GLenum pname, GLint param)
{
    if (target != GL_TEXTURE_SHADER_NV) {
        ::glTexEnvi(target, pname, param);
        return;
    }
    shaderParameter(pname, {static_cast<GLfloat>(param)});
}

void glTexEnvf(GLenum target, GLenum pname, GLfloat param)
{
    if (target != GL_TEXTURE_SHADER_NV) {
        ::glTexEnvf(target, pname, param);
        return;
    }
    shaderParameter(pname, {param});
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels)
{
    NvFormat nv{};
    bool isNv = nvFormat(internalFormat, nv);
    if (target == GL_TEXTURE_2D || target == GL_TEXTURE_RECTANGLE_NV) {
        GLuint name = boundTexture(target);
        if (isNv)
            state().nvTextureFormats[name] = nv.reads;
        else
            state().nvTextureFormats.erase(name);
    }
    ::glTexImage2D(target, level, isNv ? nv.internalFormat : internalFormat, width, height, border,
                   pixelFormat(format), type, pixels);
}

void glTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,
                     GLenum format, GLenum type, const void* pixels)
{
    ::glTexSubImage2D(target, level, xoffset, yoffset, width, height, pixelFormat(format), type, pixels);
}

} // namespace nv
