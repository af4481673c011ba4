// Fuzzes the DirectX 8 vertex-shader preprocessor and translation, and the
// NV parser on what comes out. Includes resolve to one small file.
#include "programs/VertexProgramParser.h"
#include "programs/VertexShaderTranslator.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    programs::IncludeReader includes = [](const std::string& path) -> std::optional<std::string> {
        if (path == "inc.vsh")
            return std::string("#define K c4\nmacro twice a\nadd %a, %a, %a\nendm\n");
        return std::nullopt;
    };
    programs::VertexShaderResult result = programs::translateVertexShader(text, includes);
    if (result.ok)
        programs::parseVertexProgram(result.program);
    return 0;
}
