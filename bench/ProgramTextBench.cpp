// How long the program-text compilers take at load time, and how long the
// NV layer's per-draw work (building the fragment program text it looks up
// its translation by) takes for the show's combiner and texture-shader setups.
#include "programs/CombinerProgram.h"
#include "programs/FragmentProgramBuilder.h"
#include "programs/TextureShaderProgram.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexProgramTranslator.h"
#include "programs/VertexShaderTranslator.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace programs;

std::string particleProgram()
{
    // A vertex program of the size the show's particle and flower programs have.
    std::string text = "!!VP1.0\n";
    for (int i = 0; i < 4; ++i)
        text += "DP4 o[HPOS]." + std::string(1, "xyzw"[i]) + ", c[" + std::to_string(i) + "], R0;\n";
    for (int i = 0; i < 60; ++i)
        text += "MAD R1, v[TEX0].xyxy, c[15], R1;\nDP3 R2.x, c[8], v[NRML];\nMUL R3, R2.x, c[14];\n";
    return text + "MOV o[COL0], R3;\nEND\n";
}

const char* const blurCombiners =
    "!!RC1.0\nconst0 = (0.25, 0.25, 0.25, 0.25);\n"
    "{ rgb { discard = tex0 * const0; discard = tex1 * const0; spare0 = sum(); }\n"
    "  alpha { discard = tex0 * const0; discard = tex1 * const0; spare0 = sum(); } }\n"
    "{ rgb { discard = tex2 * const0; discard = tex3 * const0; spare1 = sum(); }\n"
    "  alpha { discard = tex2 * const0; discard = tex3 * const0; spare1 = sum(); } }\n"
    "{ rgb { discard = spare0; discard = spare1; spare0 = sum(); }\n"
    "  alpha { discard = spare0; discard = spare1; spare0 = sum(); } }\n"
    "out.rgb = spare0 * col0;\nout.a = spare0;\n";

void ParseAndTranslateVertexProgram(benchmark::State& state)
{
    std::string text = particleProgram();
    TrackingTable tracking;
    tracking[0].matrix = GL_MODELVIEW_PROJECTION_NV;
    for (auto _ : state) {
        VpParseResult parsed = parseVertexProgram(text);
        benchmark::DoNotOptimize(translateToArbVertexProgram(parsed.program, tracking));
    }
}
BENCHMARK(ParseAndTranslateVertexProgram);

void TranslateVertexShader(benchmark::State& state)
{
    std::string text = "vs.1.0\nm4x4 oPos, v0, c0\nm3x3 r0, v2, c4\ndp3 r1.x, r0, c8\nmax r1.x, r1.x, c9.x\n"
                       "mul oD0, v3, r1.x\nmov oT0, v8\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(translateVertexShader(text, nullptr));
}
BENCHMARK(TranslateVertexShader);

void CompileCombiners(benchmark::State& state)
{
    std::string text = blurCombiners;
    for (auto _ : state)
        benchmark::DoNotOptimize(compileRegisterCombiners(text, 7, 8, true));
}
BENCHMARK(CompileCombiners);

// The per-draw cost while combiners are on: describing the state as program text.
void BuildCombinerFragmentProgram(benchmark::State& state)
{
    FragmentDescription d;
    d.combiners = true;
    d.combinerState = compileRegisterCombiners(blurCombiners, 7, 8, true).setup.state;
    for (FragmentUnit& unit : d.units)
        unit.target = GL_TEXTURE_RECTANGLE_NV;
    for (auto _ : state)
        benchmark::DoNotOptimize(buildFragmentProgram(d));
}
BENCHMARK(BuildCombinerFragmentProgram);

void BuildOffsetFragmentProgram(benchmark::State& state)
{
    FragmentDescription d;
    d.textureShader = true;
    d.shader = compileTextureShader("!!TS1.0\ntexture_2d();\noffset_rectangle(tex0,1,0,0,1);\nnop();\nnop();\n", 7).stages;
    d.units[0] = {GL_TEXTURE_2D, TextureFormat::Offset, GL_MODULATE};
    d.units[1] = {GL_TEXTURE_RECTANGLE_NV, TextureFormat::Rgb, GL_MODULATE};
    for (auto _ : state)
        benchmark::DoNotOptimize(buildFragmentProgram(d));
}
BENCHMARK(BuildOffsetFragmentProgram);

} // namespace
