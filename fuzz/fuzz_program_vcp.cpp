// Fuzzes the vertex constant program (!!VCP1.0) compiler.
#include "programs/ConstantProgram.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    programs::compileConstantProgram("!!VCP1.0\n" + std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
