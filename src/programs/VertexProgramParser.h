// Parser and checker for NV vertex program texts: "!!VP1.0" vertex programs
// and "!!VSP1.0" vertex state programs, with the whole NV_vertex_program 1.0
// instruction set, registers, swizzles, negation, write masks and A0.x
// relative addressing. Pure text in, checked program out; no GL.
#pragma once

#include "programs/VertexProgram.h"

#include <string>
#include <string_view>

namespace programs {

struct VpParseResult {
    bool ok = false;
    VertexProgram program;
    size_t errorPosition = 0;   // byte offset where the text stops being valid
    std::string message;        // what is wrong there (for program authors)
};

// Parses a text that starts with "!!VP1.0" or "!!VSP1.0".
VpParseResult parseVertexProgram(std::string_view text);

} // namespace programs
