#include "programs/ShaderPreprocessor.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexShaderTranslator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

using namespace programs;

namespace {

IncludeReader filesFrom(std::map<std::string, std::string> files)
{
    return [files](const std::string& path) -> std::optional<std::string> {
        auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

VertexShaderResult translate(const std::string& text, std::map<std::string, std::string> files = {})
{
    return translateVertexShader(text, filesFrom(std::move(files)));
}

TEST(VertexShaderTranslator, InstructionsAndRegistersBecomeNvText)
{
    VertexShaderResult r = translate("vs.1.0 ; version\n"
                                     "// transform\n"
                                     "m4x4 oPos, v0, c4\n"
                                     "mov oD0, v3\nmov oD1.xyz, -c[2].zyx\nmov oT3, v8\n"
                                     "mov a0.x, r1.y\nmad r0, c[a0.x + 5], r1, c[a0.x + 5]\nmov oFog.x, c[ A0.x ]\n"
                                     "sub r2, v1, c3\nrcp r2.w, r2\nexpp r3, r2.y\nlogp r4.x, r2.z\nlit r5, r4\n"
                                     "dst r6, r5, r4\nmin r7, r6, c0.x\nmax r8, r7, c0\nslt r9, r8, c1\nsge r10, r9, c1\n"
                                     "dp3 r11, r10, c1\nmul oPts.x, r11, c1.w\nadd r0, r0, r1\nnop\n");
    ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages.front());
    EXPECT_EQ(r.program, "!!VP1.0\n"
                         "DP4 o[HPOS].x, v[0], c[4];\nDP4 o[HPOS].y, v[0], c[5];\n"
                         "DP4 o[HPOS].z, v[0], c[6];\nDP4 o[HPOS].w, v[0], c[7];\n"
                         "MOV o[COL0], v[3];\nMOV o[COL1].xyz, -c[2].zyxx;\nMOV o[TEX3], v[8];\n"
                         "ARL A0.x, R1.y;\nMAD R0, c[ A0.x + 5 ], R1, c[ A0.x + 5 ];\nMOV o[FOGC].x, c[ A0.x ];\n"
                         "ADD R2, v[1], -c[3];\nRCP R2.w, R2.w;\nEXP R3, R2.y;\nLOG R4.x, R2.z;\nLIT R5, R4;\n"
                         "DST R6, R5, R4;\nMIN R7, R6, c[0].x;\nMAX R8, R7, c[0];\nSLT R9, R8, c[1];\nSGE R10, R9, c[1];\n"
                         "DP3 R11, R10, c[1];\nMUL o[PSIZ].x, R11, c[1].w;\nADD R0, R0, R1;\nEND\n");
    EXPECT_EQ(r.instructionCount, 23);
    // The translation is a loadable NV program.
    VpParseResult parsed = parseVertexProgram(r.program);
    EXPECT_TRUE(parsed.ok) << parsed.message;
}

TEST(VertexShaderTranslator, FullPrecisionExpAndLogSpreadTheResult)
{
    VertexShaderResult r = translate("vs.1.0\nexp r1.xy, v0.x\nlog r2.z, v0.y\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.program, "!!VP1.0\nEXP R1.z, v[0].x;\nMOV R1.xy, R1.z;\nLOG R2.z, v[0].y;\nEND\n");
}

TEST(VertexShaderTranslator, MacrosDefinesConditionsAndIncludes)
{
    VertexShaderResult r = translate("vs.1.0\n"
                                     "#define WORLD c8\n#define LIGHT c12\n"
                                     "#include \"common.vsh\"\n"
                                     "macro scaled out, in, k\n  mul %out, %in, %k\n  add %out, %out, %inc(%k)\nendm\n"
                                     "#ifdef LIGHT\nscaled r0, v2, LIGHT\n#else\nmov r0, v2\n#endif\n"
                                     "#ifdef MISSING\nmov r1, v2\n#endif\n"
                                     "m3x2 oT0, v8, c[a0.x + 1]\n"
                                     "m4x4 oPos, v0, WORLD\n",
                                     {{"common.vsh", "mov oD0, v3 ; from the include\n"}});
    ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages.front());
    EXPECT_EQ(r.program, "!!VP1.0\nMOV o[COL0], v[3];\n"
                         "MUL R0, v[2], c[12];\nADD R0, R0, c[13];\n"
                         "DP3 o[TEX0].x, v[8], c[ A0.x + 1 ];\nDP3 o[TEX0].y, v[8], c[ A0.x + 2 ];\n"
                         "DP4 o[HPOS].x, v[0], c[8];\nDP4 o[HPOS].y, v[0], c[9];\n"
                         "DP4 o[HPOS].z, v[0], c[10];\nDP4 o[HPOS].w, v[0], c[11];\nEND\n");
}

TEST(VertexShaderTranslator, RegisterSteppingOfTheBuiltInFunctions)
{
    struct Row {
        const char* operand;
        int delta;
        const char* want;
    };
    const Row rows[] = {
        {"c4", 1, "c5"},           {"c[4]", 3, "c[7]"},         {"c[a0.x]", 1, "c[a0.x + 1]"},
        {"c[a0.x + 2]", -1, "c[a0.x + 1]"}, {"c[a0.x - 2]", 1, "c[a0.x - 1]"}, {"r11", -11, "r0"},
        {"oPos", 1, "oPos"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(stepRegister(row.operand, row.delta), row.want) << row.operand;
}

TEST(VertexShaderTranslator, EveryListedMessage)
{
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"vs.1.0\nvs.1.0\n", "(2) Error: vs.1.0 token already encountered\n"},
        {"vs.1.0\nmov r12, v0\n", "(2) Error: destination register index out of range\n"},
        {"vs.1.0\nmov oT8, v0\n", "(2) Error: destination register index out of range\n"},
        {"vs.1.0\nmov r0, v16\n", "(2) Error: source register index out of range\n"},
        {"vs.1.0\nmov r0, c96\n", "(2) Error: source register index out of range\n"},
        {"vs.1.0\nm4x4 r0, v0, c94\n", "(2) Error: macro expansion produces source register index out of range\n"},
        {"vs.1.0\nmov r0.yx, v0\n", "(2) Error: destination register has invalid mask: yx\n"},
        {"vs.1.0\nmov r0, v0.xq\n", "(2) Error: source register has invalid mask: xq\n"},
        {"vs.1.0\nmov v0, r0\n", "(2) Error: destination register is not writable\n"},
        {"vs.1.0\nmov c3, r0\n", "(2) Error: destination register is not writable\n"},
        {"vs.1.0\nexp oD0, v0.x\n", "(2) Error: destination register must be a temporary register\n"},
        {"vs.1.0\nmov r0, oPos\n", "(2) Error: source register is not readable\n"},
        {"vs.1.0\nmad r0, c1, v0, c2\n", "(2) Error: multiple unique constant registers accessed in this instruction\n"},
        {"vs.1.0\nadd r0, v1, v2\n", "(2) Error: multiple unique attribute registers accessed in this instruction\n"},
        {"vs.1.0\nfrc r0, v0\n", "(2) Error: FRC built-in macro not yet supported.\n"},
        {"vs.1.0\nmov r0, c[a1.x]\n", "constant register index must be:\t<int>, a0.x, or a0.x + <int>.\n"},
        {"vs.1.0\n#include \"nowhere.vsh\"\n", "Unable to open include file nowhere.vsh\n"},
        {"vs.1.0\nfoo r0, v0\n", "(2) : Error : unknown instruction 'foo'\n"},
        {"vs.1.0\nmov r0\n", "(2) : Error : wrong number of operands for mov\n"},
        {"vs.1.0\nmacro never\nmov r0, v0\n", "(2) : Error : macro never has no endm\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        VertexShaderResult r = translate(row.text);
        EXPECT_FALSE(r.ok);
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.front(), row.message);
    }
}

TEST(VertexShaderTranslator, UnknownDirectivesWarnAndTheTextStillTranslates)
{
    VertexShaderResult r = translate("vs.1.0\n#pragma once\nmov oPos, v0\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.messages, (std::vector<std::string>{"(2) : Warning : unknown directive #pragma ignored\n"}));
}

TEST(VertexShaderTranslator, RecursiveMacrosStop)
{
    VertexShaderResult r = translate("vs.1.0\nmacro loop a\nloop %a\nendm\nloop r0\n");
    EXPECT_FALSE(r.ok);
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages.front(), "(5) : Error : macro loop expands too deep\n");

    // Three calls of itself per expansion would take 3^16 lines.
    VertexShaderResult wide = translate("vs.1.0\nmacro tree a\ntree %a\ntree %a\ntree %a\nendm\ntree r0\n");
    EXPECT_FALSE(wide.ok);
    EXPECT_NE(std::find(wide.messages.begin(), wide.messages.end(), "(7) : Error : macro tree expands to too many lines\n"),
              wide.messages.end());
}

} // namespace
