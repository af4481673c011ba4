// Fuzzes the NV vertex-program parser, its ARB translation and the CPU
// interpreter with arbitrary texts (after a !!VP1.0 or !!VSP1.0 header).
#include "programs/VertexMachine.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexProgramTranslator.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    for (const char* header : {"", "!!VP1.0\n", "!!VSP1.0\n"}) {
        programs::VpParseResult parsed = programs::parseVertexProgram(header + text);
        if (!parsed.ok)
            continue;
        programs::TrackingTable tracking;
        tracking[0].matrix = GL_MODELVIEW_PROJECTION_NV;
        programs::translateToArbVertexProgram(parsed.program, tracking);
        programs::VertexMachine machine;
        for (size_t i = 0; i < machine.parameters.size(); ++i)
            machine.parameters[i] = {static_cast<float>(i) - 40.5f, 1e30f, -0.0f, 3.0f};
        machine.run(parsed.program);
    }
    return 0;
}
