// DirectX 8 vertex-shader text ("vs.1.0") to NV vertex-program text: the
// macro preprocessor (#define, #include, #ifdef/#else/#endif, macro ... endm
// with %inc/%dec/%add/%sub, and the matrix macros m4x4, m4x3, m3x4, m3x3,
// m3x2) followed by a line-by-line translation of the instructions and
// registers into "!!VP1.0" text ending in "END\n".
#pragma once

#include "programs/ShaderPreprocessor.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace programs {

struct VertexShaderResult {
    bool ok = false;
    std::string program;          // the !!VP1.0 text
    int instructionCount = 0;     // instructions in the translation
    std::vector<std::string> messages;
};

VertexShaderResult translateVertexShader(std::string_view text, const IncludeReader& includes);

// Include files of vertex shaders are looked for in these folders, in order.
const std::vector<std::string>& vertexShaderIncludeFolders();

// Reads an include file from the first of vertexShaderIncludeFolders() that has it.
std::optional<std::string> readIncludeFromFolders(const std::string& name);

} // namespace programs
