// The register-combiner state of NV_register_combiners(2) as plain data:
// eight general combiners with rgb and alpha portions, their per-stage
// constants, the global constants, and the final combiner's seven inputs.
// The enums are GL's. Also the texture-shader stage state of NV_texture_shader.
#pragma once

#include <epoxy/gl.h>

#include <array>

namespace programs {

using Colour = std::array<float, 4>;

constexpr int maxGeneralCombiners = 8;
constexpr int textureShaderStages = 4;

enum CombinerVariable { VarA, VarB, VarC, VarD, VarE, VarF, VarG };

struct CombinerInput {
    GLenum input = GL_ZERO;
    GLenum mapping = GL_UNSIGNED_IDENTITY_NV;
    GLenum usage = GL_RGB;   // GL_RGB, GL_ALPHA or GL_BLUE
};

struct CombinerPortion {
    std::array<CombinerInput, 4> inputs;   // A, B, C, D
    GLenum abOutput = GL_DISCARD_NV;
    GLenum cdOutput = GL_DISCARD_NV;
    GLenum sumOutput = GL_DISCARD_NV;
    GLenum scale = GL_NONE;
    GLenum bias = GL_NONE;
    bool abDot = false;
    bool cdDot = false;
    bool muxSum = false;
};

struct GeneralCombiner {
    CombinerPortion rgb;
    CombinerPortion alpha;
    std::array<Colour, 2> constants{};   // per-stage constant colours 0 and 1
};

struct CombinerState {
    std::array<GeneralCombiner, maxGeneralCombiners> general;
    int numGeneralCombiners = 1;
    bool colorSumClamp = false;
    std::array<Colour, 2> constants{};
    std::array<CombinerInput, 7> finalInputs;   // A .. G

    // The GL's initial state: combiner 0 modulates texture 0 by the primary
    // colour into spare0; the final combiner blends spare0 + secondary colour
    // with the fog colour by the fog factor.
    CombinerState();
};

struct TextureShaderStage {
    GLenum operation = GL_NONE;
    GLenum previousInput = GL_TEXTURE0_ARB;
    std::array<float, 4> offsetMatrix{0, 0, 0, 0};   // a1, a2, a3, a4 (column major)
    float offsetScale = 1.0f;
    float offsetBias = 0.0f;
    // How a dot product reads an unsigned RGBA previous result:
    // GL_UNSIGNED_IDENTITY_NV, or GL_EXPAND_NORMAL_NV for [0, 1] -> [-1, 1].
    GLenum dotMapping = GL_UNSIGNED_IDENTITY_NV;
    // cull_fragment: per texture coordinate s, t, r, q, GL_LESS culls the
    // fragment when it is below zero, GL_GEQUAL when it is zero or above.
    std::array<GLenum, 4> cullModes{GL_GEQUAL, GL_GEQUAL, GL_GEQUAL, GL_GEQUAL};
    std::array<float, 3> constEye{0, 0, -1};   // the eye vector of a constant-eye reflection
};

using TextureShaderState = std::array<TextureShaderStage, textureShaderStages>;

} // namespace programs
