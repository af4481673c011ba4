// Vertex constant programs ("!!VCP1.0"): statements that set program
// parameters and matrix tracking for vertex programs,
//     c[12] = (0, 0, 0, 1);
//     c[0] = track(GL_MODELVIEW_PROJECTION_NV GL_IDENTITY_NV);
// one per semicolon, '#' comments, an optional END. Pure text in, checked
// statements and messages out.
#pragma once

#include "programs/VertexMachine.h"

#include <epoxy/gl.h>

#include <string>
#include <string_view>
#include <vector>

namespace programs {

struct ConstantStatement {
    enum class Kind { Constant, Track };
    Kind kind = Kind::Constant;
    int address = 0;
    Vec4 values{};
    GLenum matrix = GL_NONE;
    GLenum transform = GL_IDENTITY_NV;
};

struct ConstantProgramResult {
    bool ok = false;
    std::vector<ConstantStatement> statements;
    std::vector<std::string> messages;
};

// `text` starts with "!!VCP1.0".
ConstantProgramResult compileConstantProgram(std::string_view text);

} // namespace programs
