// The macro preprocessor of DirectX 8 vertex-shader texts: comments (';' and
// "//" to the end of the line, "/* ... */"), #define / #undef, #ifdef /
// #ifndef / #else / #endif, #include "file", and assembler macros
//     macro NAME p1, p2
//         dp3 %p1.x, %p2, c0
//     endm
// with the built-in functions %inc(x), %dec(x), %add(x, n), %sub(x, n) that
// step the last register number in x. The matrix macros m4x4, m4x3, m3x4,
// m3x3 and m3x2 are predefined. Produces the lines to assemble, each with
// the source line it came from.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace programs {

struct ShaderLine {
    std::string text;
    int line = 0;             // source line (of the macro call for expanded lines)
    bool fromMacro = false;
};

struct PreprocessResult {
    std::vector<ShaderLine> lines;
    std::vector<std::string> messages;
    bool ok = true;
};

using IncludeReader = std::function<std::optional<std::string>(const std::string& path)>;

PreprocessResult preprocessShader(std::string_view text, const IncludeReader& includes);

// %inc/%add step: adds `delta` to the last register number in `operand`
// ("c4" -> "c5", "c[a0.x + 2]" -> "c[a0.x + 3]", "c[a0.x]" -> "c[a0.x + 1]").
std::string stepRegister(const std::string& operand, int delta);

} // namespace programs
