// The texture-shader program text ("!!TS1.0"): one operation per texture
// unit, in unit order, each a statement such as
//     texture_2d();
//     offset_rectangle(tex0, 1, 0, 0, 1);
//     nop();
// Units the text does not reach run nop(). Operations this system does not
// run (cull_fragment, pass_through, the dot products, ...) are recognised and
// refused with a message naming them. Pure text in, stage state out.
#pragma once

#include "programs/CombinerState.h"

#include <string>
#include <string_view>
#include <vector>

namespace programs {

struct TextureShaderCompileResult {
    bool ok = false;
    TextureShaderState stages;
    std::vector<std::string> messages;
};

// Compiles the text from `start` (just after the "!!TS1.0" header).
TextureShaderCompileResult compileTextureShader(std::string_view text, size_t start);

} // namespace programs
