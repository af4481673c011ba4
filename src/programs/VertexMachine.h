// A CPU interpreter of the NV vertex-program instruction set. It runs
// vertex state programs (which write program parameters) and serves as the
// reference the translated ARB programs are checked against.
//
// The machine owns its registers; `run` reads attributes and parameters and
// writes temporaries, outputs and (for state programs) parameters.
#pragma once

#include "programs/VertexProgram.h"

#include <array>

namespace programs {

using Vec4 = std::array<float, 4>;

struct VertexMachine {
    std::array<Vec4, vpAttributeCount> attributes{};
    std::array<Vec4, vpParameterCount> parameters{};
    std::array<Vec4, vpTemporaryCount> temporaries{};
    std::array<Vec4, OutputCount> outputs{};
    int address = 0;

    // Temporaries start at zero and outputs at (0, 0, 0, 1) for every run.
    void run(const VertexProgram& program);
};

} // namespace programs
