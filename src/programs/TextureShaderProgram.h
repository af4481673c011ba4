// The texture-shader program text ("!!TS1.0"): one operation per texture
// unit, in unit order, each a statement such as
//     texture_2d();
//     offset_rectangle(tex0, 1, 0, 0, 1);
//     nop();
//     dot_product_2d_1of2(expand(tex0));
//     cull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO);
// Units the text does not reach run nop(). A dot product names the earlier
// texture it reads, inside expand() to read [0, 1] colours as [-1, 1]; the
// constant-eye reflections may add the eye vector as three numbers to any
// statement of their sequence. Pure text in, stage state out.
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
