// Fuzzes the register-combiner text compiler and the fragment program built
// from what it accepts.
#include "programs/CombinerProgram.h"
#include "programs/FragmentProgramBuilder.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text = "!!RC1.0\n" + std::string(reinterpret_cast<const char*>(data), size);
    programs::CombinerCompileResult result = programs::compileRegisterCombiners(text, 7, 8, size % 2 == 0);
    if (result.ok) {
        programs::FragmentDescription d;
        d.combiners = true;
        d.combinerState = result.setup.state;
        d.perStageConstants = result.setup.perStageConstants;
        for (programs::FragmentUnit& unit : d.units)
            unit.target = GL_TEXTURE_2D;
        programs::buildFragmentProgram(d);
    }
    return 0;
}
