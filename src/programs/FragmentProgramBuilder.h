// Builds the ARB fragment program that stands in for the NV fragment stage:
// the texture fetches of each unit (conventional targets or texture-shader
// operations: offset-texture lookups, dot products, depth replacement and
// culling), then either the register combiners (general stages with their
// [-1, 1] clamping, then the final combiner clamped to [0, 1]) or the
// fixed-function texture environment.
//
// Pure text generation from a description of the state; the program reads
// its constants from program local parameters at the fixed slots below, so
// values change without a new program.
#pragma once

#include "programs/CombinerState.h"

#include <epoxy/gl.h>

#include <array>
#include <string>

namespace programs {

// How a texture's base format reads in the texture environment. Offset
// (DSDT) and HILO textures hold vectors, not colours; signed colours hold
// [-1, 1] and need no expanding in a dot product.
enum class TextureFormat { Rgba, Rgb, Alpha, Luminance, LuminanceAlpha, Intensity, Offset, Hilo, SignedHilo, Signed };

struct FragmentUnit {
    GLenum target = 0;   // GL_TEXTURE_1D, _2D, _3D, _RECTANGLE, _CUBE_MAP; 0 for none
    TextureFormat format = TextureFormat::Rgba;
    GLenum envMode = GL_MODULATE;
};

struct FragmentDescription {
    bool combiners = false;
    bool textureShader = false;
    bool perStageConstants = false;
    CombinerState combinerState;
    TextureShaderState shader;
    std::array<FragmentUnit, textureShaderStages> units;
    bool colorSum = false;     // add the secondary colour (texture environment path)
    bool fog = false;          // fog enabled, for the combiners' fog register
    GLenum fogMode = GL_EXP;
};

// Program local parameter slots.
constexpr int localConstant0 = 0;
constexpr int localConstant1 = 1;
constexpr int localStageConstants = 2;     // + 2 * stage + (0 or 1)
constexpr int localOffsetMatrix = 18;      // + unit: (a1, a2, a3, a4)
constexpr int localOffsetScaleBias = 22;   // + unit: (scale, bias, 0, 0)
constexpr int localConstEye = 26;          // + unit: (x, y, z, 0)

// The texture target a texture-shader operation reads, or 0.
GLenum textureShaderTarget(GLenum operation);
// Whether the operation displaces its lookup by an earlier (ds, dt) result.
bool isOffsetTextureOperation(GLenum operation);

std::string buildFragmentProgram(const FragmentDescription& description);

} // namespace programs
