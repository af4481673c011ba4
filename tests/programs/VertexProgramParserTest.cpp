#include "programs/VertexProgramParser.h"

#include <gtest/gtest.h>

#include <string>

using namespace programs;

namespace {

const std::string position = "DP4 o[HPOS].x, c[0], v[OPOS];\n";

TEST(VertexProgramParser, ReadsRegistersSwizzlesMasksAndRelativeAddressing)
{
    VpParseResult r = parseVertexProgram("!!VP1.0\n"
                                         "# a comment; with a semicolon\n"
                                         "MOV R3.xz, -v[NRML].wzyx;\n"
                                         "ARL A0.x, v[9].y;\n"
                                         "MAD o[TEX7].w, c[A0.x - 64], R3.y, v[3];\n"
                                         "MOV o[HPOS], c[A0.x+63];\n"
                                         "END # trailing words are not read\n");
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_EQ(r.program.instructions.size(), 4u);
    const VpInstruction& mov = r.program.instructions[0];
    EXPECT_EQ(mov.op, VpOpcode::MOV);
    EXPECT_EQ(mov.dst.file, VpFile::Temporary);
    EXPECT_EQ(mov.dst.index, 3);
    EXPECT_EQ(mov.dst.mask, MaskX | MaskZ);
    EXPECT_EQ(mov.src[0].file, VpFile::Attribute);
    EXPECT_EQ(mov.src[0].index, 2);
    EXPECT_TRUE(mov.src[0].negate);
    EXPECT_EQ(mov.src[0].swizzle, (std::array<uint8_t, 4>{3, 2, 1, 0}));
    const VpInstruction& arl = r.program.instructions[1];
    EXPECT_EQ(arl.dst.file, VpFile::Address);
    EXPECT_EQ(arl.src[0].swizzle, (std::array<uint8_t, 4>{1, 1, 1, 1}));
    const VpInstruction& mad = r.program.instructions[2];
    EXPECT_EQ(mad.dst.file, VpFile::Output);
    EXPECT_EQ(mad.dst.index, TEX0 + 7);
    EXPECT_TRUE(mad.src[0].relative);
    EXPECT_EQ(mad.src[0].index, -64);
    EXPECT_EQ(r.program.instructions[3].src[0].index, 63);
}

TEST(VertexProgramParser, StateProgramsWriteParametersAndReadOnlyVertexZero)
{
    VpParseResult r = parseVertexProgram("!!VSP1.0\nMOV R0, v[0];\nADD c[95], R0, c[A0.x + 1];\nEND");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.program.kind, VpKind::State);
    EXPECT_EQ(r.program.instructions[1].dst.file, VpFile::Parameter);
    EXPECT_EQ(r.program.instructions[1].dst.index, 95);
}

TEST(VertexProgramParser, AcceptsAllSeventeenInstructions)
{
    std::string text = "!!VP1.0\nARL A0.x, R0.x;\nMOV R0, R1;\nLIT R0, R1;\nRCP R0, R1.x;\nRSQ R0, R1.y;\n"
                       "EXP R0, R1.z;\nLOG R0, R1.w;\nMUL R0, R1, R2;\nADD R0, R1, R2;\nDP3 R0, R1, R2;\n"
                       "DP4 R0, R1, R2;\nDST R0, R1, R2;\nMIN R0, R1, R2;\nMAX R0, R1, R2;\nSLT R0, R1, R2;\n"
                       "SGE R0, R1, R2;\nMAD R0, R1, R2, R3;\n" + position + "END\n";
    VpParseResult r = parseVertexProgram(text);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.program.instructions.size(), 18u);
}

// Each row: a program body and the text at which parsing must stop.
struct BadProgram {
    const char* body;
    const char* stopsAt;
};

TEST(VertexProgramParser, StopsWhereTheTextStopsBeingValid)
{
    const BadProgram rows[] = {
        {"FOO R0, R1;", "FOO"},                               // unknown instruction
        {"MOV R12, R1;", "R12"},                              // temporaries R0-R11
        {"MOV R0, v[16];", "16"},                             // attributes 0-15
        {"MOV R0, v[XYZ];", "XYZ"},
        {"MOV R0, c[96];", "96"},                             // parameters 0-95
        {"MOV R0, c[A0.x + 64];", "64"},                      // offsets -64..63
        {"MOV R0, c[A0.y];", "y"},
        {"MOV R0.yx, R1;", "yx"},                             // masks in order
        {"MOV R0.xx, R1;", "xx"},
        {"MOV R0, R1.xy;", "xy"},                             // swizzles of 1 or 4
        {"RCP R0, R1;", ";"},                                 // scalar operands need a component
        {"RCP R0, R1.xyzw;", "xyzw"},
        {"MUL R0, c[1], c[2];", "MUL"},                       // one parameter register
        {"ADD R0, v[1], v[2];", "ADD"},                       // one attribute register
        {"MOV c[0], R0;", "c"},                               // parameters are read-only
        {"MOV o[HPOS], o[COL0];", "o[COL0]"},                 // outputs are write-only
        {"MOV o[FOO], R0;", "FOO"},
        {"ARL R0.x, R1.x;", "R0"},
        {"MOV A0.x, R1;", "A0"},
        {"MOV R0, R1", ""},                                   // missing ';' (stops at END)
    };
    for (const BadProgram& row : rows) {
        SCOPED_TRACE(row.body);
        std::string text = "!!VP1.0\n" + position + row.body + "\nEND\n";
        VpParseResult r = parseVertexProgram(text);
        EXPECT_FALSE(r.ok);
        std::string stop = row.stopsAt;
        size_t expected = stop.empty() ? text.find("END") : text.find(stop, text.find(row.body));
        if (stop == ";")
            expected = text.find(';', text.find(row.body));
        EXPECT_EQ(r.errorPosition, expected) << r.message;
    }
}

TEST(VertexProgramParser, WholeProgramRules)
{
    struct Row {
        const char* text;
        bool ok;
    };
    std::string tooLong = "!!VP1.0\n" + position;
    for (int i = 0; i < 128; ++i)
        tooLong += "MOV R0, R1;\n";
    tooLong += "END\n";
    const Row rows[] = {
        {"!!VP1.0\nMOV o[COL0], v[3];\nEND", false},           // no o[HPOS]
        {"!!VP1.0\nDP4 o[HPOS].x, c[0], v[0];\n", false},      // no END
        {"!!VSP1.0\nMOV o[HPOS], v[0];\nEND", false},          // state programs have no outputs
        {"!!VSP1.0\nMOV R0, v[1];\nEND", false},               // ... and read only v[0]
        {"!!VP1.1\nEND", false},
        {tooLong.c_str(), false},
        {"!!VSP1.0\nEND", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseVertexProgram(row.text).ok, row.ok);
    }
}

} // namespace
