// glint-tool program FILE, run as program authors run it.
#include "support/RunTool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::ToolRun;

ToolRun runProgramTool(const std::string& text)
{
    std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("glint-program-tool-" + std::to_string(getpid()) + ".txt");
    std::ofstream(file, std::ios::binary) << text;
    const ToolRun run = testsupport::runGlintTool("program " + file.string(), testsupport::ToolErrors::merged);
    std::filesystem::remove(file);
    return run;
}

TEST(ProgramTool, PrintsKindTranslationAndErrors)
{
    struct Row {
        const char* text;
        int exitCode;
        std::vector<const char*> lines;
    };
    const Row rows[] = {
        {"!!VP1.0\nDP4 o[HPOS].x, c[0], v[OPOS];\nEND\n", 0,
         {"kind: vertex program (!!VP1.0)\n", "!!ARBvp1.0\n", "DP4 result.position.x, c[0], vertex.position;\n",
          "--- errors ---\nnone\n"}},
        {"vs.1.0\nmov oPos, v0\n", 0,
         {"kind: DirectX 8 vertex shader (vs.1.0)\n", "!!VP1.0\nMOV o[HPOS], v[0];\nEND\n", "MOV result.position, vertex.position;\n"}},
        {"!!RC1.0\nout.rgb = tex0 * col0;\n", 0, {"kind: register combiners (!!RC1.0)\n", "!!ARBfp1.0\n", "TXP tex0"}},
        {"!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0,1);\n", 0, {"TEX tex1, coord, texture[1], 2D;\n"}},
        {"!!VP1.0\nMOV R0, v[0];\nEND\n", 1,
         {"the program does not write o[HPOS]", "--- errors ---\nerror at line 3 character 0\n\"END\"\n"}},
        {"!!RC1.0\n{ rgb { zero = tex0; } }\n", 1, {"--- errors ---\nerror on line 2: writing to a read-only register\n"}},
        {"nothing to see", 1, {"kind: unknown\n", "invalid string.\n"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ToolRun run = runProgramTool(row.text);
        EXPECT_EQ(run.status, row.exitCode) << run.output;
        for (const char* line : row.lines)
            EXPECT_NE(run.output.find(line), std::string::npos) << "missing: " << line << "\nin:\n" << run.output;
    }
}

TEST(ProgramTool, FragmentTranslationsSayWhatTheyAssumeAndMatchIt)
{
    // Unit 0 feeds the offset stage, so it holds (ds, dt): the layer never
    // multiplies it into the colour.
    ToolRun offset = runProgramTool("!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0,1);\nnop();\nnop();\n");
    EXPECT_EQ(offset.status, 0) << offset.output;
    EXPECT_NE(offset.output.find("unit 0: a 2-D DSDT offset texture, modulate\n"), std::string::npos) << offset.output;
    EXPECT_NE(offset.output.find("unit 1: a 2-D RGBA colour texture, modulate\n"), std::string::npos) << offset.output;
    EXPECT_EQ(offset.output.find("MUL c, c, tex0;"), std::string::npos) << offset.output;
    EXPECT_NE(offset.output.find("MUL c, c, tex1;"), std::string::npos) << offset.output;

    ToolRun combiners = runProgramTool("!!RC1.0\nout.rgb = tex0 * col0;\n");
    EXPECT_NE(combiners.output.find("unit 0: a 2-D RGBA colour texture\n"), std::string::npos) << combiners.output;
}

TEST(ProgramTool, MissingFileAndWrongUsage)
{
    std::string tool = std::string(GLINT_BINARY_DIR) + "/glint-tool program";
    EXPECT_EQ(WEXITSTATUS(std::system((tool + " /no/such/file 2>/dev/null").c_str())), 1);
    EXPECT_EQ(WEXITSTATUS(std::system((tool + " 2>/dev/null").c_str())), 2);
}

} // namespace
