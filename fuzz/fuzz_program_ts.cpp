// Fuzzes the texture-shader text compiler and the fragment program built
// from what it accepts.
#include "programs/FragmentProgramBuilder.h"
#include "programs/TextureShaderProgram.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text = "!!TS1.0\n" + std::string(reinterpret_cast<const char*>(data), size);
    programs::TextureShaderCompileResult result = programs::compileTextureShader(text, 7);
    if (result.ok) {
        programs::FragmentDescription d;
        d.textureShader = true;
        d.shader = result.stages;
        for (int i = 0; i < programs::textureShaderStages; ++i) {
            d.units[i].target = programs::textureShaderTarget(d.shader[i].operation);
            d.units[i].format = i == 0 ? programs::TextureFormat::Offset : programs::TextureFormat::Rgb;
        }
        programs::buildFragmentProgram(d);
    }
    return 0;
}
