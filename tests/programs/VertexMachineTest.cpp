#include "programs/VertexMachine.h"
#include "programs/VertexProgramParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace programs;

namespace {

// Runs "!!VP1.0 <body> END" with R1 = a, R2 = b (through c[1], c[2]) and
// returns R0.
Vec4 run(const std::string& body, Vec4 a, Vec4 b = {}, Vec4 c = {})
{
    std::string text = "!!VP1.0\nMOV R1, c[1];\nMOV R2, c[2];\nMOV R3, c[3];\n" + body +
                       "\nMOV o[HPOS], R0;\nEND\n";
    VpParseResult parsed = parseVertexProgram(text);
    EXPECT_TRUE(parsed.ok) << parsed.message;
    VertexMachine m;
    m.parameters[1] = a;
    m.parameters[2] = b;
    m.parameters[3] = c;
    m.run(parsed.program);
    return m.outputs[HPOS];
}

void expectVec(const Vec4& got, const Vec4& want)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(got[i], want[i]) << "component " << i;
}

TEST(VertexMachine, InstructionSemantics)
{
    struct Row {
        const char* body;
        Vec4 a, b, c, want;
    };
    const Row rows[] = {
        {"MOV R0, R1.wzyx;", {1, 2, 3, 4}, {}, {}, {4, 3, 2, 1}},
        {"MOV R0, -R1.y;", {1, 2, 3, 4}, {}, {}, {-2, -2, -2, -2}},
        {"MUL R0, R1, R2;", {1, 2, 3, 4}, {2, 3, 4, 5}, {}, {2, 6, 12, 20}},
        {"ADD R0, R1, -R2;", {1, 2, 3, 4}, {2, 3, 4, 5}, {}, {-1, -1, -1, -1}},
        {"MAD R0, R1, R2, R3;", {1, 2, 3, 4}, {2, 3, 4, 5}, {1, 1, 1, 1}, {3, 7, 13, 21}},
        {"DP3 R0, R1, R2;", {1, 2, 3, 4}, {2, 3, 4, 5}, {}, {20, 20, 20, 20}},
        {"DP4 R0, R1, R2;", {1, 2, 3, 4}, {2, 3, 4, 5}, {}, {40, 40, 40, 40}},
        {"DST R0, R1, R2;", {9, 2, 3, 9}, {9, 5, 9, 7}, {}, {1, 10, 3, 7}},
        {"MIN R0, R1, R2;", {1, 5, 3, -4}, {2, 3, 4, -5}, {}, {1, 3, 3, -5}},
        {"MAX R0, R1, R2;", {1, 5, 3, -4}, {2, 3, 4, -5}, {}, {2, 5, 4, -4}},
        {"SLT R0, R1, R2;", {1, 5, 4, 0}, {2, 3, 4, 0}, {}, {1, 0, 0, 0}},
        {"SGE R0, R1, R2;", {1, 5, 4, 0}, {2, 3, 4, 0}, {}, {0, 1, 1, 1}},
        {"RCP R0, R1.z;", {0, 0, 4, 0}, {}, {}, {0.25f, 0.25f, 0.25f, 0.25f}},
        {"RSQ R0, R1.x;", {-16, 0, 0, 0}, {}, {}, {0.25f, 0.25f, 0.25f, 0.25f}},   // of |x|
        {"EXP R0, R1.x;", {2.5f, 0, 0, 0}, {}, {}, {4, 0.5f, std::exp2(2.5f), 1}},
        {"LOG R0, R1.x;", {-12, 0, 0, 0}, {}, {}, {3, 1.5f, std::log2(12.0f), 1}},
        {"LIT R0, R1;", {0.5f, 0.25f, 0, 2}, {}, {}, {1, 0.5f, 0.0625f, 1}},
        {"LIT R0, R1;", {-0.5f, 0.25f, 0, 2}, {}, {}, {1, 0, 0, 1}},
        {"MOV R0, R1;\nMOV R0.yw, R2;", {1, 2, 3, 4}, {5, 6, 7, 8}, {}, {1, 6, 3, 8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        expectVec(run(row.body, row.a, row.b, row.c), row.want);
    }
}

TEST(VertexMachine, RelativeAddressingFloorsAndReadsZeroOutsideTheFile)
{
    // A0.x = floor(R1.x); c[A0.x + 1] then reads c[3] for 2.7 and c[-1] (zero) for -1.5.
    expectVec(run("ARL A0.x, R1.x;\nMOV R0, c[A0.x + 1];", {2.7f, 0, 0, 0}, {}, {7, 8, 9, 10}), {7, 8, 9, 10});
    expectVec(run("ARL A0.x, R1.x;\nMOV R0, c[A0.x + 1];", {-1.5f, 0, 0, 0}), {0, 0, 0, 0});
}

TEST(VertexMachine, TemporariesStartAtZeroAndOutputsAtOne)
{
    VpParseResult parsed = parseVertexProgram("!!VP1.0\nMOV o[HPOS], R5;\nEND");
    ASSERT_TRUE(parsed.ok);
    VertexMachine m;
    m.temporaries[5] = {9, 9, 9, 9};
    m.outputs[COL0] = {9, 9, 9, 9};
    m.run(parsed.program);
    expectVec(m.outputs[HPOS], {0, 0, 0, 0});
    expectVec(m.outputs[COL0], {0, 0, 0, 1});
}

TEST(VertexMachine, StateProgramsWriteParameters)
{
    VpParseResult parsed = parseVertexProgram("!!VSP1.0\nMUL c[4].xy, v[0], c[5];\nEND");
    ASSERT_TRUE(parsed.ok);
    VertexMachine m;
    m.attributes[0] = {2, 3, 4, 5};
    m.parameters[4] = {1, 1, 1, 1};
    m.parameters[5] = {10, 10, 10, 10};
    m.run(parsed.program);
    expectVec(m.parameters[4], {20, 30, 1, 1});
}

} // namespace
